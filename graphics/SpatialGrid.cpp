#include "graphics/SpatialGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mapvine {

namespace {

// A picture of any size gets at most this many cells a side, so that a
// damaged size cannot make the grid itself huge.
constexpr int kMaxCellsPerSide = 1024;

const std::vector<int> kNoItems;

// A query that finds more than this share of the items filed reads them off
// in order instead of sorting them.
constexpr std::size_t kSortedQueryShare = 16;

int CellsFor(int length, int cellSize) {
  return std::clamp((std::max(length, 1) + cellSize - 1) / cellSize, 1, kMaxCellsPerSide);
}

}  // namespace

SpatialGrid::SpatialGrid(int pictureWidth, int pictureHeight, int cellSize)
    : cellSize_(std::max(cellSize, 1)),
      columns_(CellsFor(pictureWidth, cellSize_)),
      rows_(CellsFor(pictureHeight, cellSize_)),
      cells_(static_cast<std::size_t>(columns_) * rows_) {
  // Cells grow to cover a picture larger than the cap allows at this size.
  cellSize_ = std::max({cellSize_, (pictureWidth + columns_ - 1) / columns_,
                        (pictureHeight + rows_ - 1) / rows_});
}

int SpatialGrid::ColumnOf(int x) const { return std::clamp(x / cellSize_, 0, columns_ - 1); }
int SpatialGrid::RowOf(int y) const { return std::clamp(y / cellSize_, 0, rows_ - 1); }

template <typename Visit>
void SpatialGrid::ForEachCellOf(const Rect& area, Visit visit) const {
  if (area.IsEmpty()) return;
  for (int row = RowOf(area.top); row <= RowOf(area.bottom - 1); ++row) {
    for (int column = ColumnOf(area.left); column <= ColumnOf(area.right - 1); ++column) {
      visit(column, row);
    }
  }
}

template <typename Visit>
void SpatialGrid::ForEachCellOf(const Line& line, Visit visit) const {
  // Row by row of cells: the part of the line inside the row's band, grown
  // by the reach, spans a run of columns.
  const auto [from, to, reach] = line;
  const double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
  const int top = RowOf(std::min(from.y, to.y) - reach);
  const int bottom = RowOf(std::max(from.y, to.y) + reach);
  if (top == bottom) {
    // Within one row of cells, as most short lines are: the whole line's
    // span of columns, with no cutting.
    const int left = ColumnOf(std::min(from.x, to.x) - reach);
    const int right = ColumnOf(std::max(from.x, to.x) + reach);
    for (int column = left; column <= right; ++column) visit(column, top);
    return;
  }
  for (int row = top; row <= bottom; ++row) {
    const double bandTop = double(row) * cellSize_ - reach;
    const double bandBottom = double(row + 1) * cellSize_ + reach;
    double xa = x0, xb = x1;
    if (y1 != y0) {
      const double ta = std::clamp((bandTop - y0) / (y1 - y0), 0.0, 1.0);
      const double tb = std::clamp((bandBottom - y0) / (y1 - y0), 0.0, 1.0);
      xa = x0 + ta * (x1 - x0);
      xb = x0 + tb * (x1 - x0);
    }
    const int left = ColumnOf(static_cast<int>(std::floor(std::min(xa, xb))) - reach);
    const int right = ColumnOf(static_cast<int>(std::ceil(std::max(xa, xb))) + reach);
    for (int column = left; column <= right; ++column) visit(column, row);
  }
}

void SpatialGrid::Counted(int id, int cells) {
  if (static_cast<std::size_t>(id) >= cellsOf_.size()) cellsOf_.resize(static_cast<std::size_t>(id) + 1, 0);
  int& count = cellsOf_[static_cast<std::size_t>(id)];
  if (count == 0 && cells > 0) ++filedItems_;
  count += cells;
  if (count == 0 && cells < 0) --filedItems_;
}

// Items are added in ascending order, so appending keeps every cell sorted.
void SpatialGrid::AddArea(int id, const Rect& area) {
  int cells = 0;
  ForEachCellOf(area, [&](int column, int row) {
    Cell(column, row).push_back(id);
    ++cells;
  });
  Counted(id, cells);
}

void SpatialGrid::AddLine(int id, Point from, Point to, int reach) {
  int cells = 0;
  ForEachCellOf(Line{from, to, reach}, [&](int column, int row) {
    Cell(column, row).push_back(id);
    ++cells;
  });
  Counted(id, cells);
}

std::size_t SpatialGrid::ExpectedCells(std::span<const Rect> areas) const {
  std::size_t expected = 0;
  for (const Rect& area : areas) {
    if (area.IsEmpty()) continue;
    expected += static_cast<std::size_t>(ColumnOf(area.right - 1) - ColumnOf(area.left) + 1) *
                static_cast<std::size_t>(RowOf(area.bottom - 1) - RowOf(area.top) + 1);
  }
  return expected;
}

std::size_t SpatialGrid::ExpectedCells(std::span<const Line> lines) const {
  // A line reaches about a cell per cell-length it runs, across and down,
  // and one or two more across each row for its reach.
  std::size_t expected = 0;
  for (const Line& line : lines) {
    const std::size_t across = static_cast<std::size_t>(std::abs(ColumnOf(line.to.x) - ColumnOf(line.from.x)));
    const std::size_t down = static_cast<std::size_t>(std::abs(RowOf(line.to.y) - RowOf(line.from.y)));
    expected += across + 3 * (down + 1);
  }
  return expected;
}

void SpatialGrid::AddAll(std::span<const Rect> areas) {
  Filing filing(*this, areas);
  while (!filing.Continue(areas.size())) {
  }
}

void SpatialGrid::AddAll(std::span<const Line> lines) {
  Filing filing(*this, lines);
  while (!filing.Continue(lines.size())) {
  }
}

SpatialGrid::Filing::Filing(SpatialGrid& grid, std::span<const Rect> areas)
    : Filing(grid, areas, {}, grid.ExpectedCells(areas)) {}
SpatialGrid::Filing::Filing(SpatialGrid& grid, std::span<const Line> lines)
    : Filing(grid, {}, lines, grid.ExpectedCells(lines)) {}

SpatialGrid::Filing::Filing(SpatialGrid& grid, std::span<const Rect> areas, std::span<const Line> lines,
                            std::size_t expectedCells)
    : grid_(grid),
      areas_(areas),
      lines_(lines),
      items_(areas.size() + lines.size()),
      itemCells_(items_, 0),
      perCell_(grid.cells_.size(), 0) {
  // A large network's lines reach millions of cells: the list of them is
  // sized from an estimate, and each cell's list once, as growing them cost
  // more than the walk itself.
  cellOf_.reserve(expectedCells);
}

template <typename Visit>
void SpatialGrid::Filing::ForEachCell(std::size_t id, Visit visit) const {
  // A filing holds areas or lines, never both.
  if (!areas_.empty()) {
    grid_.ForEachCellOf(areas_[id], visit);
  } else {
    grid_.ForEachCellOf(lines_[id], visit);
  }
}

bool SpatialGrid::Filing::Continue(std::size_t items) {
  std::size_t budget = std::max<std::size_t>(items, 1);
  if (walked_ < items_) {
    const std::size_t end = std::min(items_, walked_ + budget);
    budget -= end - walked_;
    for (; walked_ < end; ++walked_) {
      ForEachCell(walked_, [&](int column, int row) {
        const int cell = row * grid_.columns_ + column;
        cellOf_.push_back(cell);
        ++perCell_[static_cast<std::size_t>(cell)];
        ++itemCells_[walked_];
      });
    }
    if (walked_ < items_) return false;
    for (std::size_t cell = 0; cell < grid_.cells_.size(); ++cell) {
      grid_.cells_[cell].reserve(grid_.cells_[cell].size() + static_cast<std::size_t>(perCell_[cell]));
    }
    perCell_ = {};
    if (grid_.cellsOf_.size() < items_) grid_.cellsOf_.resize(items_, 0);
  }
  // Items are filed in ascending order, so appending keeps every cell sorted.
  const std::size_t end = std::min(items_, filed_ + budget);
  for (; filed_ < end; ++filed_) {
    const int cells = itemCells_[filed_];
    for (int i = 0; i < cells; ++i) {
      grid_.cells_[static_cast<std::size_t>(cellOf_[nextCell_++])].push_back(static_cast<int>(filed_));
    }
    grid_.Counted(static_cast<int>(filed_), cells);
  }
  return filed_ == items_;
}

void SpatialGrid::Renumber(std::span<const int> newId) {
  for (std::vector<int>& cell : cells_) {
    bool moved = false;
    for (int& id : cell) {
      const int renumbered = newId[static_cast<std::size_t>(id)];
      moved = moved || renumbered != id;
      id = renumbered;
    }
    if (moved) std::sort(cell.begin(), cell.end());
  }
  std::vector<int> counts(newId.size(), 0);
  for (std::size_t id = 0; id < std::min(cellsOf_.size(), newId.size()); ++id) {
    counts[static_cast<std::size_t>(newId[id])] = cellsOf_[id];
  }
  cellsOf_ = std::move(counts);
}

void SpatialGrid::Insert(int column, int row, int id) {
  std::vector<int>& cell = Cell(column, row);
  const auto at = std::lower_bound(cell.begin(), cell.end(), id);
  if (at != cell.end() && *at == id) return;
  cell.insert(at, id);
  Counted(id, 1);
}

void SpatialGrid::Erase(int column, int row, int id) {
  std::vector<int>& cell = Cell(column, row);
  const auto at = std::lower_bound(cell.begin(), cell.end(), id);
  if (at == cell.end() || *at != id) return;
  cell.erase(at);
  Counted(id, -1);
}

void SpatialGrid::MoveArea(int id, const Rect& was, const Rect& now) {
  ForEachCellOf(was, [&](int column, int row) { Erase(column, row, id); });
  ForEachCellOf(now, [&](int column, int row) { Insert(column, row, id); });
}

void SpatialGrid::MoveLine(int id, const Line& was, const Line& now) {
  ForEachCellOf(was, [&](int column, int row) { Erase(column, row, id); });
  ForEachCellOf(now, [&](int column, int row) { Insert(column, row, id); });
}

template <typename Filed>
bool SpatialGrid::MeetsCells(const Filed& filed, const Rect& query) const {
  if (query.IsEmpty()) return false;
  const int left = ColumnOf(query.left), right = ColumnOf(query.right - 1);
  const int top = RowOf(query.top), bottom = RowOf(query.bottom - 1);
  bool met = false;
  ForEachCellOf(filed, [&](int column, int row) {
    met = met || (column >= left && column <= right && row >= top && row <= bottom);
  });
  return met;
}

bool SpatialGrid::Meets(const Rect& area, const Rect& query) const { return MeetsCells(area, query); }
bool SpatialGrid::Meets(const Line& line, const Rect& query) const { return MeetsCells(line, query); }

std::vector<int> SpatialGrid::Query(const Rect& area) const {
  std::vector<int> found;
  if (area.IsEmpty()) return found;
  // A fitted frame asks for the whole picture.
  if (TouchesEveryCell(area)) {
    for (std::size_t id = 0; id < cellsOf_.size(); ++id) {
      if (cellsOf_[id] > 0) found.push_back(static_cast<int>(id));
    }
    return found;
  }
  if (++queryStamp_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    queryStamp_ = 1;
  }
  for (int row = RowOf(area.top); row <= RowOf(area.bottom - 1); ++row) {
    for (int column = ColumnOf(area.left); column <= ColumnOf(area.right - 1); ++column) {
      for (const int id : cells_[row * columns_ + column]) {
        if (static_cast<std::size_t>(id) >= seen_.size()) seen_.resize(id + 1, 0);
        if (seen_[id] == queryStamp_) continue;
        seen_[id] = queryStamp_;
        found.push_back(id);
      }
    }
  }
  // A query over much of the picture (a fitted frame) finds most items:
  // reading them off the marks in order is then quicker than sorting.
  if (found.size() > seen_.size() / kSortedQueryShare) {
    found.clear();
    for (std::size_t id = 0; id < seen_.size(); ++id) {
      if (seen_[id] == queryStamp_) found.push_back(static_cast<int>(id));
    }
  } else {
    std::sort(found.begin(), found.end());
  }
  return found;
}

std::size_t SpatialGrid::Count(const Rect& area) const {
  if (area.IsEmpty()) return 0;
  return TouchesEveryCell(area) ? filedItems_ : Query(area).size();
}

bool SpatialGrid::TouchesEveryCell(const Rect& area) const {
  return ColumnOf(area.left) == 0 && RowOf(area.top) == 0 && ColumnOf(area.right - 1) == columns_ - 1 &&
         RowOf(area.bottom - 1) == rows_ - 1;
}

const std::vector<int>& SpatialGrid::At(Point p) const {
  if (cells_.empty()) return kNoItems;
  return cells_[RowOf(p.y) * columns_ + ColumnOf(p.x)];
}

}  // namespace mapvine
