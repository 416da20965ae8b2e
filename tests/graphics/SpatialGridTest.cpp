// A query answers exactly the items filed under the cells it touches, each
// once and ascending, however large a share of the picture it covers.
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
  // On cell boundaries, so an item is answered when its area meets the query.
  for (const Rect query : {Rect{0, 0, 4000, 4000}, Rect{-50, -50, 4050, 4050}, Rect{0, 0, 2000, 4000},
                           Rect{1000, 1000, 1300, 1200}}) {
    std::vector<int> expected;
    for (int id = 0; id < static_cast<int>(areas.size()); ++id) {
      if (!areas[id].Intersect(query).IsEmpty()) expected.push_back(id);
    }
    EXPECT_EQ(grid.Query(query), expected) << query.left << " " << query.right;
  }
}

}  // namespace
}  // namespace mapvine
