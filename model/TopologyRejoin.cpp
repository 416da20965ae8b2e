#include "model/TopologyRejoin.h"

#include <boost/unordered/unordered_flat_map.hpp>
#include <memory>
#include <string_view>
#include <vector>

#include "model/FoldedNames.h"

namespace mapvine::topology {

void RejoinLinks(const CSpriteList& nodes, const OwningLinkList& links) {
  // Every link against every node would be quadratic: the nodes are grouped
  // by folded name first, each group in list order, as that scan would meet
  // them. The keys are the first node's name, which does not change
  // meanwhile.
  struct Carriers {
    CSprite* first = nullptr;
    std::unique_ptr<std::vector<CSprite*>> more;  // rarely two nodes share a name
  };
  struct FoldedHash {
    std::size_t operator()(std::string_view name) const { return FoldedNameHash(name); }
  };
  struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const { return SameNameIgnoringCase(a, b); }
  };
  boost::unordered_flat_map<std::string_view, Carriers, FoldedHash, FoldedEqual> byName;
  byName.reserve(nodes.size());
  for (const auto& node : nodes) {
    const std::string_view name = node->fqName;
    if (name.empty()) continue;
    auto [entry, added] = byName.try_emplace(name);
    Carriers& carriers = entry->second;
    if (added) {
      carriers.first = node.get();
      continue;
    }
    if (!carriers.more) carriers.more = std::make_unique<std::vector<CSprite*>>();
    carriers.more->push_back(node.get());
  }
  // Nothing is added from here on, so the groups stay where they are.
  auto carriersOf = [&byName](std::string_view name) -> const Carriers* {
    if (name.empty()) return nullptr;
    const auto found = byName.find(name);
    return found == byName.end() ? nullptr : &found->second;
  };
  auto forEachCarrier = [](const Carriers* carriers, auto&& visit) {
    if (carriers == nullptr) return;
    visit(carriers->first);
    if (carriers->more) {
      for (CSprite* node : *carriers->more) visit(node);
    }
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    const Carriers* carriersA = carriersOf(link.endAName);
    const Carriers* carriersB = carriersOf(link.endBName);
    forEachCarrier(carriersA, [&link](CSprite* node) {
      link.endA = node;
      node->links.Add(&link);
    });
    // With both names alike, these nodes listed the link just above.
    const bool listedAlready = carriersA == carriersB;
    forEachCarrier(carriersB, [&link, listedAlready](CSprite* node) {
      link.endB = node;
      if (!listedAlready) node->links.Add(&link);
    });
    // The carriers that did not become ends still list the link: it must
    // know them, so that removing it reaches every list it is in.
    auto noteOtherListers = [&link](CSprite* node) {
      if (node != link.endA && node != link.endB) link.otherListers.push_back(node);
    };
    if (carriersA != nullptr && carriersA->more) forEachCarrier(carriersA, noteOtherListers);
    if (carriersB != carriersA && carriersB != nullptr && carriersB->more) {
      forEachCarrier(carriersB, noteOtherListers);
    }
  }
}

}  // namespace mapvine::topology
