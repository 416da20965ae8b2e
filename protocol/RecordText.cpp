#include "protocol/RecordText.h"

#include <cstdio>

#include "base/BitNames.h"
#include "protocol/SnaWire.h"

namespace mapvine {

std::string NodeTypeText(std::uint8_t nodeType) {
  switch (nodeType) {
    case snawire::kNodeTypeNetworkNode: return "network node";
    case snawire::kNodeTypeConnectionNetwork: return "connection network";
    default: return "node type " + std::to_string(nodeType);
  }
}

std::string NodeStatusText(std::uint8_t status) {
  if (status == 0) return "uncongested";
  return JoinBitNames(status, {{snawire::kNodeCongested, "congested"},
                               {snawire::kNodeIrrDepleted, "IRR depleted"},
                               {snawire::kNodeErrDepleted, "ERR depleted"},
                               {snawire::kNodeQuiescing, "quiescing"}});
}

std::string TgStatusText(std::uint8_t status) {
  return JoinBitNames(status,
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
