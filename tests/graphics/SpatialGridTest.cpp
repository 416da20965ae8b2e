#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphics/SpatialGrid.h"

namespace mapvine {
namespace {

// Whatever share of the items a query finds, it answers each item whose
// area meets the queried one once, in ascending order; moved items are
// found where they went.
TEST(SpatialGridTest, QueriesAnswerEachItemNearOnceInAscendingOrder) {
  std::mt19937 random(7);
  const auto upTo = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  SpatialGrid grid(1000, 800, 32);
  std::vector<Rect> areas;
  for (int id = 0; id < 2000; ++id) {
    const Point at{upTo(1100) - 50, upTo(900) - 50};
    areas.push_back({at.x, at.y, at.x + 1 + upTo(60), at.y + 1 + upTo(60)});
    grid.AddArea(id, areas.back());
  }
  for (int id = 0; id < 2000; id += 7) {
    const Rect moved = areas[id].Offset(upTo(300) - 150, upTo(300) - 150);
    grid.MoveArea(id, areas[id], moved);
    areas[id] = moved;
  }
  for (const Rect& query : {Rect{0, 0, 1000, 800}, Rect{-100, -100, 2000, 2000}, Rect{100, 100, 900, 700},
                            Rect{400, 300, 430, 330}, Rect{990, 790, 1000, 800}}) {
    const std::vector<int> found = grid.Query(query);
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
    EXPECT_EQ(std::adjacent_find(found.begin(), found.end()), found.end());
    for (int id = 0; id < 2000; ++id) {
      if (!areas[id].Intersects(query)) continue;
      EXPECT_TRUE(std::binary_search(found.begin(), found.end(), id))
          << id << " in " << query.left << "," << query.top;
    }
  }
}

}  // namespace
}  // namespace mapvine
