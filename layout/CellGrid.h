#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_set>
#include <vector>

#include "graphics/Geometry.h"

namespace mapvine {

// The picture cut into square cells, each holding at most one node, and
// the search for the free cell nearest a wanted one. Cells are numbered
// from (0, 0) at the picture's top-left corner and stay within `limit`
// cells a side while there is room.
class CellGrid {
 public:
  explicit CellGrid(int limit);

  int Limit() const { return limit_; }
  bool Taken(Point cell) const { return taken_.contains(Key(cell)); }
  void Take(Point cell) { taken_.insert(Key(cell)); }
  // The free cell nearest `wanted` (by distance, then a fixed turn order, so
  // that the same wishes give the same cells), taken.
  Point TakeNearest(Point wanted);
  // The anchor nearest `wanted` at which every cell of `shape` (offsets
  // from the anchor) is free, all of them taken; none when no anchor within
  // reach has room.
  std::optional<Point> TakeBlockNearest(Point wanted, std::span<const Point> shape);
  // Takes every cell of `side` pixels that an icon at `icon` touches with
  // its label band under it, so that nothing placed in a cell overlaps it.
  void TakeTouched(const Rect& icon, int side);
  // Offsets from (0, 0) in the order TakeNearest tries them.
  std::span<const Point> Nearby() const { return nearby_; }

 private:
  static std::uint64_t Key(Point cell) {
    return (std::uint64_t{static_cast<std::uint32_t>(cell.x)} << 32) | static_cast<std::uint32_t>(cell.y);
  }
  bool Usable(Point cell, int limit) const {
    return cell.x >= 0 && cell.y >= 0 && cell.x < limit && cell.y < limit && !Taken(cell);
  }
  // Beyond the precomputed neighbourhood: ring after ring, ever further.
  Point SearchRings(Point wanted);

  int limit_;
  std::unordered_set<std::uint64_t> taken_;
  std::span<const Point> nearby_;  // offsets by distance from (0, 0)
};

// The top-left corner that centres an icon of `width` x `height`, with its
// label band under it, in a cell of `side` pixels.
Point CornerInCell(Point cell, int side, int width, int height);
// The cell under the middle of an icon whose top-left corner is `at`.
Point CellUnder(Point at, int side, int width, int height);

}  // namespace mapvine
