// A query answers exactly the items filed under the cells it touches, each
// once and ascending, however large a share of the picture it covers.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "graphics/SpatialGrid.h"

namespace mapvine {
namespace {

TEST(SpatialGrid, QueriesOfAnySizeAnswerEachFiledItemOnceInOrder) {
  constexpr int kSide = 4000;
  constexpr int kCell = 100;
  std::mt19937 random(11);
  const auto coordinate = [&random] { return static_cast<int>(random() % kSide); };
  SpatialGrid grid(kSide, kSide, kCell);
  std::vector<Rect> areas;
  for (int id = 0; id < 3000; ++id) {
    const int x = coordinate(), y = coordinate();
    // Every tenth item is empty and so filed nowhere.
    areas.push_back(id % 10 == 0 ? Rect{x, y, x, y} : Rect{x, y, x + 40, y + 40});
    grid.AddArea(id, areas.back());
  }
  const auto cellsOf = [](const Rect& r) {
    std::set<std::pair<int, int>> cells;
    for (int row = r.top / kCell; row <= (r.bottom - 1) / kCell; ++row) {
      for (int column = r.left / kCell; column <= (r.right - 1) / kCell; ++column) cells.emplace(column, row);
    }
    return cells;
  };
  for (const Rect query : {Rect{0, 0, kSide, kSide}, Rect{-50, -50, kSide + 50, kSide + 50},
                           Rect{0, 0, kSide / 2, kSide}, Rect{1000, 1000, 1300, 1200}, Rect{5, 5, 6, 6}}) {
    const std::set<std::pair<int, int>> queried = cellsOf(query.Intersect({0, 0, kSide, kSide}));
    std::vector<int> expected;
    for (int id = 0; id < static_cast<int>(areas.size()); ++id) {
      if (areas[id].IsEmpty()) continue;
      for (const auto& cell : cellsOf(areas[id])) {
        if (queried.contains(cell)) {
          expected.push_back(id);
          break;
        }
      }
    }
    EXPECT_EQ(grid.Query(query), expected) << query.left << " " << query.top << " " << query.right;
  }
}

}  // namespace
}  // namespace mapvine
