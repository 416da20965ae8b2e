#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Geometry.h"

namespace mapvine {

// Finds the items near an area of a large picture without visiting all of
// them. Items are numbered 0..n-1 by the caller (their drawing order) and
// filed under every square cell of the picture they reach; a query answers
// the numbers of the items filed under the cells an area touches, each once,
// in ascending order, so that drawing them in that order keeps the order of
// a full pass.
class SpatialGrid {
 public:
  // A grid over `picture` (origin 0, 0) with square cells of `cellSize`
  // pixels; items may reach beyond the picture and are filed under its
  // border cells.
  SpatialGrid(int pictureWidth, int pictureHeight, int cellSize);

  // Files item `id` under every cell `area` touches.
  void AddArea(int id, const Rect& area);
  // Files item `id` under the cells a line from `from` to `to` passes
  // through, counting `reach` pixels on either side of it.
  void AddLine(int id, Point from, Point to, int reach);
  // Files an item that was added with `was` under the cells of `now`
  // instead: a node or line that moved, without building the grid again.
  void MoveArea(int id, const Rect& was, const Rect& now);
  struct Line {
    Point from, to;
    int reach = 0;
    friend bool operator==(const Line&, const Line&) = default;
  };
  void MoveLine(int id, const Line& was, const Line& now);

  // Numbers of the items filed under the cells `area` touches, ascending,
  // without repeats (an item may still lie just outside `area`).
  std::vector<int> Query(const Rect& area) const;
  // The item numbers filed under the one cell holding `p`, ascending.
  const std::vector<int>& At(Point p) const;

 private:
  int ColumnOf(int x) const;
  int RowOf(int y) const;
  std::vector<int>& Cell(int column, int row) { return cells_[row * columns_ + column]; }
  // Calls `visit` with each cell the area or line is filed under.
  template <typename Visit>
  void ForEachCellOf(const Rect& area, Visit visit);
  template <typename Visit>
  void ForEachCellOf(const Line& line, Visit visit);
  // Keeps each cell's numbers ascending, as a query of one cell answers them.
  static void Insert(std::vector<int>& cell, int id);
  static void Erase(std::vector<int>& cell, int id);

  int cellSize_;
  int columns_;
  int rows_;
  std::vector<std::vector<int>> cells_;
  // Marks of the last query, so that an item in several cells is reported
  // once; mutable because a query changes nothing a caller can see.
  mutable std::vector<std::uint32_t> seen_;
  mutable std::uint32_t queryStamp_ = 0;
};

}  // namespace mapvine
