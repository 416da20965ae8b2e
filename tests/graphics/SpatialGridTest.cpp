// A query answers exactly the items filed under the cells it touches, each
// once and ascending, however large a share of the picture it covers, and
// asking about one item agrees with it.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/SpatialGrid.h"

namespace mapvine {
namespace {

TEST(SpatialGrid, QueriesOfAnySizeAnswerEachFiledItemOnceInOrder) {
  SpatialGrid grid(4000, 4000, 100);
  std::mt19937 random(11);
  std::vector<Rect> areas;
  for (int id = 0; id < 3000; ++id) {
    const int x = static_cast<int>(random() % 3960), y = static_cast<int>(random() % 3960);
    const int side = id % 10 == 0 ? 0 : 40;  // an empty area is filed nowhere
    areas.push_back({x, y, x + side, y + side});
    grid.AddArea(id, areas.back());
  }
  // Moves in and out of being filed anywhere keep the whole picture's
  // answer, which no cell is visited for, true.
  for (int id = 0; id < 300; id += 3) {
    const Rect now = id % 2 == 0 ? Rect{} : Rect{10 * id, 20, 10 * id + 40, 60};
    grid.MoveArea(id, areas[id], now);
    areas[id] = now;
  }
  // On cell boundaries, so an item is answered when its area meets the query.
  for (const Rect query : {Rect{0, 0, 4000, 4000}, Rect{-50, -50, 4050, 4050}, Rect{0, 0, 2000, 4000},
                           Rect{1000, 1000, 1300, 1200}}) {
    std::vector<int> expected;
    for (int id = 0; id < static_cast<int>(areas.size()); ++id) {
      const bool meets = !areas[id].Intersect(query).IsEmpty();
      if (meets) expected.push_back(id);
      EXPECT_EQ(grid.Meets(areas[id], query), meets) << id;
    }
    EXPECT_EQ(grid.Query(query), expected) << query.left << " " << query.right;
    EXPECT_EQ(grid.Count(query), expected.size());
  }
}

// Filing in parts of any size, the count of each cell worked out before any
// is filled, files every item as adding them one by one does.
TEST(SpatialGrid, FilingInPartsFilesAsAddingOneByOne) {
  std::mt19937 random(5);
  const auto upTo = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::vector<Rect> areas;
  std::vector<SpatialGrid::Line> lines;
  for (int id = 0; id < 400; ++id) {
    // Some reach beyond the picture, some are empty.
    const int x = upTo(4400) - 200, y = upTo(3400) - 200;
    areas.push_back({x, y, x + upTo(3) * 60, y + 30});
    lines.push_back({{x, y}, {upTo(4400) - 200, upTo(3400) - 200}, 1 + upTo(20)});
  }
  SpatialGrid oneByOneAreas(4000, 3000, 128), oneByOneLines(4000, 3000, 128);
  for (int id = 0; id < 400; ++id) {
    oneByOneAreas.AddArea(id, areas[static_cast<std::size_t>(id)]);
    const SpatialGrid::Line& line = lines[static_cast<std::size_t>(id)];
    oneByOneLines.AddLine(id, line.from, line.to, line.reach);
  }
  for (const std::size_t part : {std::size_t{1}, std::size_t{7}, std::size_t{399}, std::size_t{10000}}) {
    SpatialGrid inPartsAreas(4000, 3000, 128), inPartsLines(4000, 3000, 128);
    SpatialGrid::Filing filingAreas(inPartsAreas, areas), filingLines(inPartsLines, lines);
    while (!filingAreas.Continue(part)) {
    }
    while (!filingLines.Continue(part)) {
    }
    for (int probe = 0; probe < 50; ++probe) {
      const int x = upTo(4000), y = upTo(3000);
      const Rect query{x, y, x + upTo(1500), y + upTo(1500)};
      EXPECT_EQ(inPartsAreas.Query(query), oneByOneAreas.Query(query)) << part;
      EXPECT_EQ(inPartsLines.Query(query), oneByOneLines.Query(query)) << part;
      EXPECT_EQ(inPartsLines.Count(query), oneByOneLines.Count(query)) << part;
      EXPECT_EQ(inPartsLines.At({x, y}), oneByOneLines.At({x, y})) << part;
    }
    EXPECT_EQ(inPartsAreas.Count({0, 0, 4000, 3000}), oneByOneAreas.Count({0, 0, 4000, 3000})) << part;
  }
}

}  // namespace
}  // namespace mapvine
