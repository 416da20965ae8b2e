#include "model/TopologyRejoin.h"

#include <memory>
#include <string_view>
#include <vector>

#include "model/FoldedNames.h"
#include "model/HashSlots.h"

namespace mapvine::topology {

void RejoinLinks(const CSpriteList& nodes, const OwningLinkList& links) {
  // Every link against every node would be quadratic: the nodes are grouped
  // by folded name first, each group in list order, as that scan would meet
  // them. The groups name their key through their first node, whose name
  // does not change meanwhile.
  struct Carriers {
    CNode* first = nullptr;
    std::unique_ptr<std::vector<CNode*>> more;  // rarely two nodes share a name
  };
  auto nameIs = [](std::string_view name) {
    return [name](const Carriers& c) { return SameNameIgnoringCase(c.first->fqName, name); };
  };
  HashSlots<Carriers> byName;
  byName.Reserve(nodes.size());
  for (const auto& node : nodes) {
    const std::string_view name = node->fqName;
    if (name.empty()) continue;
    auto [carriers, added] = byName.FindOrAdd(FoldedNameHash(name), nameIs(name));
    if (added) {
      carriers->first = node.get();
      continue;
    }
    if (!carriers->more) carriers->more = std::make_unique<std::vector<CNode*>>();
    carriers->more->push_back(node.get());
  }
  auto carriersOf = [&byName, &nameIs](std::string_view name) -> const Carriers* {
    if (name.empty()) return nullptr;
    return byName.Find(FoldedNameHash(name), nameIs(name));
  };
  auto forEachCarrier = [](const Carriers* carriers, auto&& visit) {
    if (carriers == nullptr) return;
    visit(carriers->first);
    if (carriers->more) {
      for (CNode* node : *carriers->more) visit(node);
    }
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    const Carriers* carriersA = carriersOf(link.endAName);
    const Carriers* carriersB = carriersOf(link.endBName);
    forEachCarrier(carriersA, [&link](CNode* node) {
      link.endA = node;
      node->links.Add(&link);
    });
    // With both names alike, these nodes listed the link just above.
    const bool listedAlready = carriersA == carriersB;
    forEachCarrier(carriersB, [&link, listedAlready](CNode* node) {
      link.endB = node;
      if (!listedAlready) node->links.Add(&link);
    });
    // The carriers that did not become ends still list the link: it must
    // know them, so that removing it reaches every list it is in.
    auto noteOtherListers = [&link](CNode* node) {
      if (node != link.endA && node != link.endB) link.otherListers.push_back(node);
    };
    if (carriersA != nullptr && carriersA->more) forEachCarrier(carriersA, noteOtherListers);
    if (carriersB != carriersA && carriersB != nullptr && carriersB->more) {
      forEachCarrier(carriersB, noteOtherListers);
    }
  }
}

}  // namespace mapvine::topology
