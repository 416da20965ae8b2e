// The parts of a tiled picture a line passes through, against clipping the
// line to every part.
#include <gtest/gtest.h>

#include <random>

#include "export/PageTiling.h"
#include "graphics/LineDrawing.h"

namespace mapvine {
namespace {

TEST(PageTiling, ALineReachesExactlyThePartsItPassesThrough) {
  const PartGrid grid{QSize(1000, 700), QSize(90, 130)};  // the last column and row cut short
  std::vector<std::pair<QPointF, QPointF>> lines = {
      {{0, 0}, {999, 699}}, {{45, 10}, {45, 690}}, {{0, 130}, {999, 130}},  // along a border
      {{-500, -80}, {1500, 900}}, {{88.5, 128.5}, {91.5, 131.5}}, {{300, 300}, {300, 300}}};
  std::mt19937 random(32);
  std::uniform_real_distribution<double> x(-50, 1050), y(-50, 750);
  for (int i = 0; i < 200; ++i) lines.push_back({{x(random), y(random)}, {x(random), y(random)}});
  for (const auto& [from, to] : lines) {
    std::vector<int> clipped;
    for (int part = 0; part < grid.Count(); ++part) {
      Segment s{from.x(), from.y(), to.x(), to.y()};
      const double left = 90.0 * (part % grid.Columns()), top = 130.0 * (part / grid.Columns());
      if (ClipSegment(s, left - 2, top - 2, left + 92, top + 132)) clipped.push_back(part);
    }
    EXPECT_EQ(PartsAlong(grid, from, to, 2.0), clipped) << from.x() << "," << from.y() << " " << to.x() << "," << to.y();
  }
  EXPECT_LT(PartsAlong(grid, {0, 0}, {999, 699}, 2.0).size(), std::size_t(grid.Count()) / 2);  // not its bounds
}

}  // namespace
}  // namespace mapvine
