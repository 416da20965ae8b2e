#pragma once

#include <cstddef>
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
  struct Line {
    Point from, to;
    int reach = 0;
    friend bool operator==(const Line&, const Line&) = default;
  };
  // Files items 0..n-1 of an empty grid at once, as AddArea or AddLine one
  // after another would: each cell's list is sized once instead of growing.
  void AddAll(std::span<const Rect> areas);
  void AddAll(std::span<const Line> lines);
  // AddAll a part at a time, for a caller that must answer between the
  // parts (a window's event loop spreading a large picture over several
  // turns). The grid and the items stay as they are until it is done, and
  // the grid answers nothing useful before.
  class Filing {
   public:
    Filing(SpatialGrid& grid, std::span<const Rect> areas);
    Filing(SpatialGrid& grid, std::span<const Line> lines);
    // Does about `items` items' worth more; true once all are filed.
    bool Continue(std::size_t items);

   private:
    Filing(SpatialGrid& grid, std::span<const Rect> areas, std::span<const Line> lines,
           std::size_t expectedCells);
    template <typename Visit>
    void ForEachCell(std::size_t id, Visit visit) const;

    SpatialGrid& grid_;
    std::span<const Rect> areas_;
    std::span<const Line> lines_;
    std::size_t items_;
    std::size_t walked_ = 0;  // items whose cells are worked out
    std::size_t filed_ = 0;   // items filed under them
    std::size_t nextCell_ = 0;  // into cellOf_, of the next item to file
    // The cells of each item, worked out once and kept, so that the count
    // and the fill need not walk a line's cells twice.
    std::vector<int> cellOf_;
    std::vector<int> itemCells_;
    std::vector<int> perCell_;
  };
  // Files an item that was added with `was` under the cells of `now`
  // instead: a node or line that moved, without building the grid again.
  void MoveArea(int id, const Rect& was, const Rect& now);
  void MoveLine(int id, const Line& was, const Line& now);
  // Gives every item `id` the number `newId[id]` (a permutation of
  // 0..n-1, n the items filed), keeping each cell ascending: the items'
  // drawing order changed while they stayed where they are.
  void Renumber(std::span<const int> newId);

  // Numbers of the items filed under the cells `area` touches, ascending,
  // without repeats (an item may still lie just outside `area`).
  std::vector<int> Query(const Rect& area) const;
  // How many numbers Query(area) answers.
  std::size_t Count(const Rect& area) const;
  // The item numbers filed under the one cell holding `p`, ascending.
  const std::vector<int>& At(Point p) const;
  // Whether an item filed with `area` or `line` is among those a Query of
  // `query` answers: lets a caller that knows the few items it wants ask
  // about them alone.
  bool Meets(const Rect& area, const Rect& query) const;
  bool Meets(const Line& line, const Rect& query) const;

 private:
  int ColumnOf(int x) const;
  int RowOf(int y) const;
  std::vector<int>& Cell(int column, int row) { return cells_[row * columns_ + column]; }
  // Calls `visit`(column, row) with each cell the area or line is filed
  // under.
  template <typename Visit>
  void ForEachCellOf(const Rect& area, Visit visit) const;
  template <typename Visit>
  void ForEachCellOf(const Line& line, Visit visit) const;
  // Keeps each cell's numbers ascending, as a query of one cell answers them.
  void Insert(int column, int row, int id);
  void Erase(int column, int row, int id);
  void Counted(int id, int cells);
  // About how many cells the items are filed under in all.
  std::size_t ExpectedCells(std::span<const Rect> areas) const;
  std::size_t ExpectedCells(std::span<const Line> lines) const;
  bool TouchesEveryCell(const Rect& area) const;
  template <typename Filed>
  bool MeetsCells(const Filed& filed, const Rect& query) const;

  int cellSize_;
  int columns_;
  int rows_;
  std::vector<std::vector<int>> cells_;
  // How many cells each item is filed under: a query that touches every
  // cell answers the items filed anywhere without visiting the cells.
  std::vector<int> cellsOf_;
  std::size_t filedItems_ = 0;  // items filed under at least one cell
  // Marks of the last query, so that an item in several cells is reported
  // once; mutable because a query changes nothing a caller can see.
  mutable std::vector<std::uint32_t> seen_;
  mutable std::uint32_t queryStamp_ = 0;
};

}  // namespace mapvine
