#include "export/PageTiling.h"

#include <algorithm>
#include <cmath>

#include "graphics/LineDrawing.h"

namespace mapvine {

std::vector<QRect> PartsAcrossPages(QSize picture, QSizeF pagePart) {
  const int partWidth = std::max(1, static_cast<int>(pagePart.width()));
  const int partHeight = std::max(1, static_cast<int>(pagePart.height()));
  const QRect whole(QPoint(0, 0), picture);
  std::vector<QRect> parts;
  for (int top = 0; top < picture.height(); top += partHeight) {
    for (int left = 0; left < picture.width(); left += partWidth) {
      parts.push_back(QRect(left, top, partWidth, partHeight).intersected(whole));
    }
  }
  return parts;
}

int PartGrid::Columns() const {
  const int width = std::max(1, part.width());
  return std::max(0, (picture.width() + width - 1) / width);
}

int PartGrid::Rows() const {
  const int height = std::max(1, part.height());
  return std::max(0, (picture.height() + height - 1) / height);
}

namespace {

// The parts along one axis, of `size` each and `count` in all, whose span
// grown by `reach` meets [low, high].
std::pair<int, int> PartsOver(double low, double high, int size, int count, double reach) {
  const int first = static_cast<int>(std::max(0.0, std::ceil((low - reach) / size - 1)));
  const int last = static_cast<int>(std::min(count - 1.0, std::floor((high + reach) / size)));
  return {first, last};
}

}  // namespace

std::vector<int> PartsAlong(const PartGrid& grid, QPointF from, QPointF to, double reach) {
  std::vector<int> parts;
  const int width = std::max(1, grid.part.width());
  const int height = std::max(1, grid.part.height());
  const int columns = grid.Columns();
  const auto [firstRow, lastRow] =
      PartsOver(std::min(from.y(), to.y()), std::max(from.y(), to.y()), height, grid.Rows(), reach);
  // Row by row: the piece of the line inside the row's band, and the
  // columns that piece reaches.
  constexpr double kAnywhere = 1e18;
  for (int row = firstRow; row <= lastRow; ++row) {
    Segment piece{from.x(), from.y(), to.x(), to.y()};
    if (!ClipSegment(piece, -kAnywhere, double(row) * height - reach, kAnywhere,
                     double(row + 1) * height + reach)) {
      continue;
    }
    const auto [firstColumn, lastColumn] =
        PartsOver(std::min(piece.x0, piece.x1), std::max(piece.x0, piece.x1), width, columns, reach);
    for (int column = firstColumn; column <= lastColumn; ++column) parts.push_back(row * columns + column);
  }
  return parts;
}

}  // namespace mapvine
