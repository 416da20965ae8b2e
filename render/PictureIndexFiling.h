#pragma once

#include <algorithm>

#include "graphics/SpatialGrid.h"
#include "model/CLink.h"
#include "model/CNode.h"

// Where the picture index files a node and a line, for its build and for
// what it refiles when they move.
namespace mapvine::picture_index {

// Cells of this many pixels a side hold a few nodes each in a dense picture
// and keep a window-sized area to a few hundred cells.
inline constexpr int kCellSize = 256;
// A line's pen and hit tolerance reach this far beyond its ideal line.
inline constexpr int kLineReach = 6;

// A node is filed with its label's band.
inline Rect AreaOf(const Rect& icon) { return icon.Inflated(0, CNode::kLabelBand); }

inline SpatialGrid::Line LineOf(const CLink& link) {
  // A link read from a file may carry a wider hit tolerance.
  const int reach = std::clamp(link.hitTolerance + kLineReach, kLineReach, kCellSize);
  return {{link.x1, link.y1}, {link.x2, link.y2}, reach};
}

}  // namespace mapvine::picture_index
