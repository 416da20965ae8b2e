#pragma once

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
FoldedLus FoldedInto(const CNode& owner);

// The change that asks more of an operator: a resource that went inactive,
// then one gone, then a new one, then one that went active.
ChangeMark MorePressing(ChangeMark a, ChangeMark b);

}  // namespace mapvine
