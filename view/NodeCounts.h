#pragma once

#include <unordered_set>

#include "model/MapvineDoc.h"

namespace mapvine {

// How many of the document's nodes are shown and how many there are, as
// the status bar says them. The hidden ones are known one by one: only the
// nodes that changed are looked at again, so that the end of each slice of
// a status pass over a large picture does not count every node. Counted
// again from every node after many hid or showed at once.
class NodeCounts {
 public:
  void MarkStale() { stale_ = true; }
  // `node` came or changed how it shows; whether it is hidden is read at
  // the next Settle, as it may hide later in the same change.
  void NodeChanged(const CNode& node) {
    if (!stale_) changed_.insert(&node);
  }
  // Called before the node is destroyed: no pointer to it is kept.
  void NodeRemoving(const CNode& node) {
    changed_.erase(&node);
    hidden_.erase(&node);
  }
  // Counts again when anything changed; true when it did.
  bool Settle(const CMapvineDoc& doc) {
    const auto nodes = doc.NodesByArrival();
    const int total = static_cast<int>(nodes.size());
    if (!stale_ && changed_.empty() && total == total_) return false;
    if (stale_) {
      hidden_.clear();
      for (const CNode* node : nodes) {
        if (node->hidden) hidden_.insert(node);
      }
    }
    for (const CNode* node : changed_) {
      if (node->hidden) {
        hidden_.insert(node);
      } else {
        hidden_.erase(node);
      }
    }
    stale_ = false;
    changed_.clear();
    total_ = total;
    displayed_ = total - static_cast<int>(hidden_.size());
    return true;
  }
  int Displayed() const { return displayed_; }
  int Total() const { return total_; }

 private:
  bool stale_ = true;
  std::unordered_set<const CNode*> changed_;
  std::unordered_set<const CNode*> hidden_;
  int displayed_ = 0;
  int total_ = 0;
};

}  // namespace mapvine
