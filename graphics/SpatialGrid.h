#pragma once

#include <cstdint>
#include <span>
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

  // Numbers of the items filed under the cells `area` touches, ascending,
  // without repeats (an item may still lie just outside `area`).
  std::vector<int> Query(const Rect& area) const;
  // The item numbers filed under the one cell holding `p`, ascending.
  std::vector<int> At(Point p) const;

 private:
  int ColumnOf(int x) const;
  int RowOf(int y) const;
  void File(int column, int row, int id) { filings_.push_back({row * columns_ + column, id}); }
  // Sorts what was filed since the last look by cell, once, before any look.
  void Seal() const;
  std::span<const int> CellItems(int cell) const;

  struct Filing {
    int cell;
    int id;
  };
  struct LongLine {
    int id;
    Point from;
    Point to;
    int reach;
  };

  int cellSize_;
  int columns_;
  int rows_;
  // A picture files hundreds of thousands of items at once: they go into
  // one list, and are sorted by cell into one array when first looked at,
  // rather than into a growing list per cell.
  std::vector<Filing> filings_;
  // Lines across many cells: a look tests each against its area instead.
  std::vector<LongLine> longLines_;
  mutable bool sealed_ = false;
  mutable std::vector<int> cellStarts_;  // per cell, where its items start in cellItems_
  mutable std::vector<int> cellItems_;
  // Every item filed anywhere, ascending: what a look at the whole picture
  // (a picture zoomed to fit) answers without visiting the cells.
  mutable std::vector<int> everyItem_;
  // Marks of the last query, so that an item in several cells is reported
  // once; mutable because a query changes nothing a caller can see.
  mutable std::vector<std::uint32_t> seen_;
  mutable std::uint32_t queryStamp_ = 0;
};

}  // namespace mapvine
