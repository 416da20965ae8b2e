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
    CSprite* first = nullptr;
    std::unique_ptr<std::vector<CSprite*>> more;  // rarely two nodes share a name
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
    if (!carriers->more) carriers->more = std::make_unique<std::vector<CSprite*>>();
    carriers->more->push_back(node.get());
  }
  auto forEachCarrier = [&](std::string_view name, auto&& visit) {
    if (name.empty()) return;
    const Carriers* carriers = byName.Find(FoldedNameHash(name), nameIs(name));
    if (carriers == nullptr) return;
    visit(carriers->first);
    if (carriers->more) {
      for (CSprite* node : *carriers->more) visit(node);
    }
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    forEachCarrier(link.endAName, [&link](CSprite* node) {
      link.endA = node;
      node->links.Add(&link);
    });
    // With both names alike, these nodes listed the link just above.
    const bool listedAlready = SameNameIgnoringCase(link.endAName, link.endBName);
    forEachCarrier(link.endBName, [&link, listedAlready](CSprite* node) {
      link.endB = node;
      if (!listedAlready) node->links.Add(&link);
    });
  }
}

}  // namespace mapvine::topology
