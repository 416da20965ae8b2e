#include "graphics/SpatialGrid.h"

#include <algorithm>
#include <cmath>

namespace mapvine {

namespace {

// A picture of any size gets at most this many cells a side, so that a
// damaged size cannot make the grid itself huge.
constexpr int kMaxCellsPerSide = 1024;

const std::vector<int> kNoItems;

// A query that finds more than one item in this many scans for them.
constexpr std::size_t kScanShare = 8;

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
void SpatialGrid::ForEachCellOf(const Rect& area, Visit visit) {
  if (area.IsEmpty()) return;
  for (int row = RowOf(area.top); row <= RowOf(area.bottom - 1); ++row) {
    for (int column = ColumnOf(area.left); column <= ColumnOf(area.right - 1); ++column) {
      visit(Cell(column, row));
    }
  }
}

template <typename Visit>
void SpatialGrid::ForEachCellOf(const Line& line, Visit visit) {
  // Row by row of cells: the part of the line inside the row's band, grown
  // by the reach, spans a run of columns.
  const auto [from, to, reach] = line;
  const double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
  const int top = RowOf(std::min(from.y, to.y) - reach);
  const int bottom = RowOf(std::max(from.y, to.y) + reach);
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
    for (int column = left; column <= right; ++column) visit(Cell(column, row));
  }
}

// Items are added in ascending order, so appending keeps every cell sorted.
void SpatialGrid::AddArea(int id, const Rect& area) {
  ForEachCellOf(area, [id](std::vector<int>& cell) { cell.push_back(id); });
}

void SpatialGrid::AddLine(int id, Point from, Point to, int reach) {
  ForEachCellOf(Line{from, to, reach}, [id](std::vector<int>& cell) { cell.push_back(id); });
}

void SpatialGrid::Insert(std::vector<int>& cell, int id) {
  const auto at = std::lower_bound(cell.begin(), cell.end(), id);
  if (at == cell.end() || *at != id) cell.insert(at, id);
}

void SpatialGrid::Erase(std::vector<int>& cell, int id) {
  const auto at = std::lower_bound(cell.begin(), cell.end(), id);
  if (at != cell.end() && *at == id) cell.erase(at);
}

void SpatialGrid::MoveArea(int id, const Rect& was, const Rect& now) {
  ForEachCellOf(was, [id](std::vector<int>& cell) { Erase(cell, id); });
  ForEachCellOf(now, [id](std::vector<int>& cell) { Insert(cell, id); });
}

void SpatialGrid::MoveLine(int id, const Line& was, const Line& now) {
  ForEachCellOf(was, [id](std::vector<int>& cell) { Erase(cell, id); });
  ForEachCellOf(now, [id](std::vector<int>& cell) { Insert(cell, id); });
}

std::vector<int> SpatialGrid::Query(const Rect& area) const {
  std::vector<int> found;
  if (area.IsEmpty()) return found;
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
  // An area holding a good part of all items (a whole large picture fitted
  // to the window) reads them off the marks in order, quicker than sorting.
  if (found.size() < seen_.size() / kScanShare) {
    std::sort(found.begin(), found.end());
    return found;
  }
  found.clear();
  for (std::size_t id = 0; id < seen_.size(); ++id) {
    if (seen_[id] == queryStamp_) found.push_back(static_cast<int>(id));
  }
  return found;
}

const std::vector<int>& SpatialGrid::At(Point p) const {
  if (cells_.empty()) return kNoItems;
  return cells_[RowOf(p.y) * columns_ + ColumnOf(p.x)];
}

}  // namespace mapvine
