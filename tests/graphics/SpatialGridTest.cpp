// A query answers exactly the items filed under the cells it touches, each
// once and ascending, however large a share of the picture it covers, and
// asking about one item agrees with it.
#include <gtest/gtest.h>

#include <random>

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

}  // namespace
}  // namespace mapvine
