#pragma once

#include <utility>
#include <vector>

#include "base/WorkerThread.h"
#include "graphics/Geometry.h"

namespace mapvine {

// A node as arranging sees it: plain values copied from the picture, so
// that a worker thread can lay the picture out while the document lives on.
struct ArrangeNode {
  int kind = 0;  // NodeKind; anything else is laid out like a network node
  int width = 0;
  int height = 0;
  Point at{};  // top-left corner now
  bool pinned = false;
};

// The picture's nodes and the links between them (TGs and owner links), by
// index into `nodes`.
struct ArrangeGraph {
  std::vector<ArrangeNode> nodes;
  std::vector<std::pair<int, int>> links;
  int spacing = 90;  // the picture's grid spacing
};

// Where every node goes (top-left corners, in the graph's order) and the
// picture's size that holds them.
struct Arrangement {
  std::vector<Point> positions;
  int width = 0;
  int height = 0;
};

// How far an arrangement got, and whether the person asked it to stop.
using ArrangeProgress = WorkProgress;

}  // namespace mapvine
