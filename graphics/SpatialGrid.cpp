#include "graphics/SpatialGrid.h"

#include <algorithm>
#include <cmath>

namespace mapvine {

namespace {

// A picture of any size gets at most this many cells a side, so that a
// damaged size cannot make the grid itself huge.
constexpr int kMaxCellsPerSide = 1024;
// A line whose box covers more cells than this is kept aside rather than
// filed under each: a TG across a large picture would otherwise be filed
// hundreds of times, and a picture of many such TGs millions of times.
constexpr int kMostCellsPerLine = 16;

// Whether the line from `from` to `to` passes within `reach` of `area`:
// the segment clipped to the area grown by the reach (Liang and Barsky).
bool LinePassesNear(Point from, Point to, int reach, const Rect& area) {
  const double left = double(area.left) - reach - 1, right = double(area.right) + reach + 1;
  const double top = double(area.top) - reach - 1, bottom = double(area.bottom) + reach + 1;
  const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
  double enter = 0, leave = 1;
  const auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
    return enter <= leave;
  };
  return clip(-dx, from.x - left) && clip(dx, right - from.x) && clip(-dy, from.y - top) &&
         clip(dy, bottom - from.y);
}

int CellsFor(int length, int cellSize) {
  return std::clamp((std::max(length, 1) + cellSize - 1) / cellSize, 1, kMaxCellsPerSide);
}

}  // namespace

SpatialGrid::SpatialGrid(int pictureWidth, int pictureHeight, int cellSize)
    : cellSize_(std::max(cellSize, 1)),
      columns_(CellsFor(pictureWidth, cellSize_)),
      rows_(CellsFor(pictureHeight, cellSize_)) {
  // Cells grow to cover a picture larger than the cap allows at this size.
  cellSize_ = std::max({cellSize_, (pictureWidth + columns_ - 1) / columns_,
                        (pictureHeight + rows_ - 1) / rows_});
}

int SpatialGrid::ColumnOf(int x) const { return std::clamp(x / cellSize_, 0, columns_ - 1); }
int SpatialGrid::RowOf(int y) const { return std::clamp(y / cellSize_, 0, rows_ - 1); }

void SpatialGrid::AddArea(int id, const Rect& area) {
  if (area.IsEmpty()) return;
  for (int row = RowOf(area.top); row <= RowOf(area.bottom - 1); ++row) {
    for (int column = ColumnOf(area.left); column <= ColumnOf(area.right - 1); ++column) {
      File(column, row, id);
    }
  }
  sealed_ = false;
}

void SpatialGrid::AddLine(int id, Point from, Point to, int reach) {
  // Row by row of cells: the part of the line inside the row's band, grown
  // by the reach, spans a run of columns.
  const double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
  const int top = RowOf(std::min(from.y, to.y) - reach);
  const int bottom = RowOf(std::max(from.y, to.y) + reach);
  const int columns = ColumnOf(std::max(from.x, to.x) + reach) - ColumnOf(std::min(from.x, to.x) - reach) + 1;
  if ((bottom - top + 1) * columns > kMostCellsPerLine) {
    longLines_.push_back({id, from, to, reach});
    sealed_ = false;
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
    for (int column = left; column <= right; ++column) File(column, row, id);
  }
  sealed_ = false;
}

void SpatialGrid::Seal() const {
  if (sealed_) return;
  sealed_ = true;
  const std::size_t cells = static_cast<std::size_t>(columns_) * rows_;
  // A counting sort by cell keeps each cell's items in the order filed.
  cellStarts_.assign(cells + 1, 0);
  int largestId = -1;
  for (const Filing& filing : filings_) {
    ++cellStarts_[static_cast<std::size_t>(filing.cell) + 1];
    largestId = std::max(largestId, filing.id);
  }
  for (std::size_t cell = 0; cell < cells; ++cell) cellStarts_[cell + 1] += cellStarts_[cell];
  cellItems_.resize(filings_.size());
  std::vector<int> next(cellStarts_.begin(), cellStarts_.end() - 1);
  for (const LongLine& line : longLines_) largestId = std::max(largestId, line.id);
  std::vector<bool> filed(static_cast<std::size_t>(largestId + 1), false);
  for (const LongLine& line : longLines_) filed[static_cast<std::size_t>(line.id)] = true;
  for (const Filing& filing : filings_) {
    cellItems_[static_cast<std::size_t>(next[static_cast<std::size_t>(filing.cell)]++)] = filing.id;
    filed[static_cast<std::size_t>(filing.id)] = true;
  }
  everyItem_.clear();
  for (std::size_t id = 0; id < filed.size(); ++id) {
    if (filed[id]) everyItem_.push_back(static_cast<int>(id));
  }
}

std::span<const int> SpatialGrid::CellItems(int cell) const {
  const auto start = static_cast<std::size_t>(cellStarts_[static_cast<std::size_t>(cell)]);
  const auto end = static_cast<std::size_t>(cellStarts_[static_cast<std::size_t>(cell) + 1]);
  return std::span<const int>(cellItems_).subspan(start, end - start);
}

std::vector<int> SpatialGrid::Query(const Rect& area) const {
  std::vector<int> found;
  if (area.IsEmpty()) return found;
  Seal();
  const int top = RowOf(area.top), bottom = RowOf(area.bottom - 1);
  const int left = ColumnOf(area.left), right = ColumnOf(area.right - 1);
  if (top == 0 && left == 0 && bottom == rows_ - 1 && right == columns_ - 1) return everyItem_;
  if (++queryStamp_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    queryStamp_ = 1;
  }
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      for (const int id : CellItems(row * columns_ + column)) {
        if (static_cast<std::size_t>(id) >= seen_.size()) seen_.resize(id + 1, 0);
        if (seen_[id] == queryStamp_) continue;
        seen_[id] = queryStamp_;
        found.push_back(id);
      }
    }
  }
  for (const LongLine& line : longLines_) {
    if (LinePassesNear(line.from, line.to, line.reach, area)) found.push_back(line.id);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<int> SpatialGrid::At(Point p) const {
  Seal();
  const std::span<const int> filed = CellItems(RowOf(p.y) * columns_ + ColumnOf(p.x));
  std::vector<int> found(filed.begin(), filed.end());
  if (longLines_.empty()) return found;
  const int left = ColumnOf(p.x) * cellSize_, top = RowOf(p.y) * cellSize_;
  // A point beyond the picture is in a border cell; the lines near it count.
  const Rect cell{std::min(left, p.x), std::min(top, p.y), std::max(left + cellSize_, p.x + 1),
                  std::max(top + cellSize_, p.y + 1)};
  for (const LongLine& line : longLines_) {
    if (LinePassesNear(line.from, line.to, line.reach, cell)) found.push_back(line.id);
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace mapvine
