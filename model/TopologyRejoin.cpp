#include "model/TopologyRejoin.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mapvine::topology {
namespace {

std::string Folded(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

}  // namespace

void RejoinLinks(const CSpriteList& nodes, const OwningLinkList& links) {
  // Every link against every node would be quadratic; one lookup per end
  // name gives the same ends and the same lists.
  std::unordered_map<std::string, std::vector<CSprite*>> byName;
  for (const auto& node : nodes) {
    if (!node->fqName.empty()) byName[Folded(node->fqName)].push_back(node.get());
  }
  auto carriers = [&byName](const std::string& foldedName) -> const std::vector<CSprite*>* {
    if (foldedName.empty()) return nullptr;
    const auto found = byName.find(foldedName);
    return found == byName.end() ? nullptr : &found->second;
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    const std::string nameA = Folded(link.endAName);
    const std::string nameB = Folded(link.endBName);
    if (const auto* nodesA = carriers(nameA)) {
      for (CSprite* node : *nodesA) {
        link.endA = node;
        node->links.Add(&link);
      }
    }
    if (const auto* nodesB = carriers(nameB)) {
      for (CSprite* node : *nodesB) {
        link.endB = node;
        // With both names alike, these nodes listed the link just above.
        if (nameB != nameA) node->links.Add(&link);
      }
    }
  }
}

}  // namespace mapvine::topology
