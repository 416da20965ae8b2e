#include "render/LuFolding.h"

#include "model/CLink.h"
#include "model/NodeRecords.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

const CNode* OtherEnd(const CLink& link, const CNode& node) {
  return link.endA == &node ? link.endB : link.endA;
}

int Urgency(ChangeMark mark) {
  switch (mark) {
    case ChangeMark::WentInactive:
      return 4;
    case ChangeMark::Gone:
      return 3;
    case ChangeMark::New:
      return 2;
    case ChangeMark::WentActive:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

const CNode* FoldOwner(const CNode& node) { return LuOwner(node); }

FoldedLus FoldedInto(const CNode& owner) {
  FoldedLus folded{0, owner.changeMark};
  for (const CLink* link : owner.links) {
    const CNode* other = OtherEnd(*link, owner);
    if (other == nullptr || other->hidden || FoldOwner(*other) != &owner) continue;
    ++folded.count;
    folded.change = MorePressing(folded.change, MorePressing(other->changeMark, link->changeMark));
  }
  return folded;
}

ChangeMark MorePressing(ChangeMark a, ChangeMark b) { return Urgency(b) > Urgency(a) ? b : a; }

}  // namespace mapvine
