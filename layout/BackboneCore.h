#pragma once

#include <span>
#include <utility>
#include <vector>

#include "layout/BackboneLayout.h"

namespace mapvine {

// The part of a backbone worth a force-directed layout. A network's
// backbone is mostly trees hanging off a few loops, and chains of nodes
// with two neighbours between its junctions; sfdp coarsens those poorly and
// spends most of its time on them. The core keeps the junctions of the
// loops, each chain as one edge; a tree node is placed one unit beyond the
// node it hangs on, its siblings fanned out away from where that node
// comes from, and a chain's nodes evenly along the line between its ends.
class BackboneCore {
 public:
  BackboneCore(int count, std::span<const std::pair<int, int>> edges);

  // The nodes to lay out (indices of the whole backbone) and the edges
  // between them, as indices into `Kept()`.
  const std::vector<int>& Kept() const { return kept_; }
  const std::vector<std::pair<int, int>>& Edges() const { return coreEdges_; }

  // Every node's place, from the kept nodes' places (in `Kept()`'s order).
  std::vector<LayoutPoint> Expand(const std::vector<LayoutPoint>& keptAt) const;

 private:
  struct Hanging {
    int node;
    int parent;
  };
  struct OnChain {
    int node;
    int from;
    int to;
    double share;  // of the way from `from` to `to`
  };

  void StripTrees();
  // The chains between junctions; false when a chain had to be split (it
  // returned to its start or repeated a pair of ends) and the walk must run
  // again.
  bool WalkChains();

  int count_;
  std::vector<std::vector<int>> neighbours_;
  std::vector<bool> inCore_;
  std::vector<bool> junction_;
  std::vector<Hanging> hanging_;  // in the order they were stripped
  std::vector<OnChain> chains_;
  std::vector<int> kept_;
  std::vector<std::pair<int, int>> coreEdges_;
};

}  // namespace mapvine
