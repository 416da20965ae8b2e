// The parts of a tiled picture that a line passes through, against a
// brute-force look at every part.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "export/PageTiling.h"
#include "graphics/LineDrawing.h"

namespace mapvine {
namespace {

std::vector<int> PartsReachedByClipping(const PartGrid& grid, QPointF from, QPointF to, double reach) {
  std::vector<int> parts;
  for (int row = 0; row < grid.Rows(); ++row) {
    for (int column = 0; column < grid.Columns(); ++column) {
      Segment s{from.x(), from.y(), to.x(), to.y()};
      const double left = double(column) * grid.part.width(), top = double(row) * grid.part.height();
      if (ClipSegment(s, left - reach, top - reach, left + grid.part.width() + reach,
                      top + grid.part.height() + reach)) {
        parts.push_back(row * grid.Columns() + column);
      }
    }
  }
  return parts;
}

TEST(PageTiling, ALineReachesExactlyThePartsItPassesThrough) {
  const PartGrid grid{QSize(1000, 700), QSize(90, 130)};  // the last column and row cut short
  struct Row {
    QPointF from, to;
  };
  std::vector<Row> rows = {
      {{0, 0}, {999, 699}},      // corner to corner
      {{45, 10}, {45, 690}},     // straight down one column
      {{0, 130}, {999, 130}},    // along a border between rows
      {{-500, -80}, {1500, 900}},  // ends outside the picture
      {{88.5, 128.5}, {91.5, 131.5}},  // a short one across a corner
      {{300, 300}, {300, 300}},  // a single point
  };
  std::mt19937 random(32);
  std::uniform_real_distribution<double> x(-50, 1050), y(-50, 750);
  for (int i = 0; i < 200; ++i) rows.push_back({{x(random), y(random)}, {x(random), y(random)}});
  for (const Row& row : rows) {
    EXPECT_EQ(PartsAlong(grid, row.from, row.to, 2.0), PartsReachedByClipping(grid, row.from, row.to, 2.0))
        << row.from.x() << "," << row.from.y() << " - " << row.to.x() << "," << row.to.y();
  }
  // A long slanting line crosses a thin band of parts, not its whole
  // bounding rectangle of them.
  EXPECT_LT(PartsAlong(grid, {0, 0}, {999, 699}, 2.0).size(), std::size_t(grid.Count()) / 2);
}

}  // namespace
}  // namespace mapvine
