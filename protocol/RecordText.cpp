#include "protocol/RecordText.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

using BitName = std::pair<std::uint8_t, std::string_view>;

std::string JoinBits(std::uint8_t bits, std::initializer_list<BitName> names, std::string text) {
  for (const auto& [bit, name] : names) {
    if ((bits & bit) == 0) continue;
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}

}  // namespace

std::string NodeTypeText(std::uint8_t nodeType) {
  switch (nodeType) {
    case snawire::kNodeTypeNetworkNode: return "network node";
    case snawire::kNodeTypeConnectionNetwork: return "connection network";
    default: return "node type " + std::to_string(nodeType);
  }
}

std::string NodeStatusText(std::uint8_t status) {
  if (status == 0) return "uncongested";
  return JoinBits(status,
                  {{snawire::kNodeCongested, "congested"},
                   {snawire::kNodeIrrDepleted, "IRR depleted"},
                   {snawire::kNodeErrDepleted, "ERR depleted"},
                   {snawire::kNodeQuiescing, "quiescing"}},
                  {});
}

std::string TgStatusText(std::uint8_t status) {
  return JoinBits(status,
                  {{snawire::kTgQuiescing, "quiescing"},
                   {snawire::kTgCpCpSessions, "CP-CP sessions"},
                   {snawire::kTgRtp, "RTP"},
                   {snawire::kTgHpr, "HPR"}},
                  (status & snawire::kTgOperative) != 0 ? "operative" : "inoperative");
}

std::string ResourceTypeText(std::uint16_t resourceType) {
  switch (resourceType) {
    case snawire::kResourceLu: return "LU";
    case snawire::kResourceEndNode: return "end node";
    case snawire::kResourceNetworkNode: return "network node";
    default: {
      char text[32];
      std::snprintf(text, sizeof(text), "resource type 0x%04X", resourceType);
      return text;
    }
  }
}

}  // namespace mapvine
