#pragma once

#include "model/CLink.h"
#include "model/CNode.h"
#include "model/ChangeMark.h"

namespace mapvine {

// Far enough out, each end node's LUs fold into their owner, which then
// shows as one mark for all of them (OverviewRendering.h).

// The shown node an LU folds into: the first node it is linked with that is
// not an LU itself. None for other nodes and for LUs without one.
const CNode* FoldOwner(const CNode& node);

// What a node stands for once LUs fold: how many LUs folded into it, and the
// most pressing change among itself, those LUs and their links to it.
struct FoldedLus {
  int count = 0;
  ChangeMark change = ChangeMark::None;
};

// The change that asks more of an operator: a resource that went inactive,
// then one gone, then a new one, then one that went active.
ChangeMark MorePressing(ChangeMark a, ChangeMark b);

// What `owner` stands for, where `foldsInto(node)` tells whether a node not
// hidden folds into `owner`: each of its links to such a node counts once.
template <typename FoldsInto>
FoldedLus FoldedIntoWhere(const CNode& owner, FoldsInto foldsInto) {
  FoldedLus folded{0, owner.changeMark};
  for (const CLink* link : owner.links) {
    const CNode* other = link->endA == &owner ? link->endB : link->endA;
    if (other == nullptr || other->hidden || !foldsInto(*other)) continue;
    ++folded.count;
    folded.change = MorePressing(folded.change, MorePressing(other->changeMark, link->changeMark));
  }
  return folded;
}

}  // namespace mapvine
