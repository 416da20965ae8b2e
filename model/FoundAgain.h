#pragma once

#include <cstddef>
#include <vector>

#include "model/CNode.h"

namespace mapvine {

// The nodes a refresh found again, to be marked reported at the end of its
// round. The refresh itself leaves a found node unread (the node index holds
// its name), so marking it on the spot would fetch it from memory for one
// store each; on a large network those stores back up the whole pass. Made
// together at the end, a few fetched ahead, they overlap.
class FoundAgain {
 public:
  void Note(CNode& node) { nodes_.push_back(&node); }
  // Call before the node goes.
  void Forget(const CNode& node) { std::erase(nodes_, &node); }
  void Clear() { nodes_.clear(); }
  // Marks every noted node reported in `generation` (a node added by hand
  // is now the network's), and forgets them.
  void MarkReported(int generation) {
    constexpr std::size_t kFetchAhead = 16;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (i + kFetchAhead < nodes_.size()) {
        __builtin_prefetch(&nodes_[i + kFetchAhead]->reportedGeneration, 1);
      }
      nodes_[i]->reportedGeneration = generation;
      nodes_[i]->addedByHand = false;
    }
    nodes_.clear();
  }

 private:
  std::vector<CNode*> nodes_;
};

}  // namespace mapvine
