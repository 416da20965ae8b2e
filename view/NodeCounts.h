#pragma once

#include <span>
#include <unordered_set>

#include "model/MapvineDoc.h"

namespace mapvine {

// How many of the document's nodes are shown and how many there are, as
// the status bar says them. While few nodes are hidden they are known one
// by one, and only the nodes reported changed are looked at again: the end
// of each slice of a status pass over a large picture then does not count
// every node. Counted again from every node after many changed at once, or
// while many are hidden.
class NodeCounts {
 public:
  void MarkStale() { stale_ = true; }
  // `node` came or changed how it shows; whether it is hidden is read at
  // the next Settle, as it may hide later in the same change.
  void NodeChanged(const CNode& node);
  // Called before the node is destroyed: no pointer to it is kept.
  void NodeRemoving(const CNode& node);
  // Counts again when anything changed; true when it did.
  bool Settle(const CMapvineDoc& doc);
  int Displayed() const { return displayed_; }
  int Total() const { return total_; }

 private:
  // Each answers how many nodes are hidden.
  int CountAll(std::span<CNode* const> nodes);
  int CountChanged();

  bool stale_ = true;
  // hidden_ holds every hidden node; otherwise any change counts all again.
  bool known_ = false;
  std::unordered_set<const CNode*> hidden_;
  std::unordered_set<const CNode*> changed_;
  int displayed_ = 0;
  int total_ = 0;
};

}  // namespace mapvine
