#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "layout/BackboneCore.h"

namespace mapvine {
namespace {

// Whatever the shape, the core is laid out alone and every other node is
// placed from it: somewhere of its own, never on top of another node.
TEST(BackboneCore, PlacesEveryNodeApartFromTheCore) {
  using Edges = std::vector<std::pair<int, int>>;
  const struct {
    const char* name;
    int count;
    Edges edges;
    std::size_t kept;
  } graphs[] = {
      {"path", 5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, 1},
      {"star", 6, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}}, 1},
      {"ring", 6, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {0, 5}}, 3},
      {"two chains between two hubs", 8, {{0, 2}, {2, 3}, {3, 1}, {0, 4}, {4, 5}, {5, 1}, {0, 1}, {1, 6}, {6, 7}}, 4},
      {"loops with trees", 10,
       {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 5}, {5, 2}, {5, 6}, {6, 7}, {6, 8}, {8, 9}}, 5},
      {"apart and alone", 5, {{0, 1}, {2, 3}}, 3},
  };
  for (const auto& g : graphs) {
    SCOPED_TRACE(g.name);
    const BackboneCore core(g.count, g.edges);
    EXPECT_EQ(core.Kept().size(), g.kept);
    for (const auto& [a, b] : core.Edges()) {
      EXPECT_LT(a, static_cast<int>(core.Kept().size()));
      EXPECT_LT(b, static_cast<int>(core.Kept().size()));
    }
    std::mt19937 random(1);
    std::uniform_real_distribution<double> coordinate(0, 10);
    std::vector<LayoutPoint> keptAt;
    for (std::size_t i = 0; i < core.Kept().size(); ++i) keptAt.push_back({coordinate(random), coordinate(random)});
    const std::vector<LayoutPoint> at = core.Expand(keptAt);
    ASSERT_EQ(at.size(), static_cast<std::size_t>(g.count));
    std::set<std::pair<long long, long long>> places;
    for (const LayoutPoint& p : at) {
      ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
      EXPECT_TRUE(places.emplace(std::llround(p.x * 1000), std::llround(p.y * 1000)).second) << p.x << "," << p.y;
    }
  }
}

}  // namespace
}  // namespace mapvine
