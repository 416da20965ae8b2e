#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/NodeRecords.h"
#include "layout/Arrange.h"
#include "layout/Owners.h"

namespace mapvine {
namespace {

constexpr int kLabelBand = 30;

// A random network as the node reports them: a backbone of network nodes
// and connection networks joined by TGs (a spanning tree and some more),
// end nodes on a server, LUs on an end node or a network node.
ArrangeGraph RandomNetwork(std::uint32_t seed, int backbone) {
  std::mt19937 random(seed);
  ArrangeGraph graph;
  auto add = [&](int kind) {
    graph.nodes.push_back({kind, 32, 32, {0, 0}, false});
    return static_cast<int>(graph.nodes.size()) - 1;
  };
  auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
  for (int i = 0; i < backbone; ++i) {
    const int node = add(pick(10) == 0 ? ConnectionNetwork : NetworkNode);
    if (i > 0) graph.links.emplace_back(pick(i), node);
  }
  for (int i = 0; i < backbone / 3; ++i) graph.links.emplace_back(pick(backbone), pick(backbone));
  const int ends = backbone + pick(backbone + 1);
  for (int i = 0; i < ends; ++i) graph.links.emplace_back(pick(backbone), add(EndNode));
  const int owners = static_cast<int>(graph.nodes.size());
  for (int i = 0; i < 2 * ends; ++i) graph.links.emplace_back(add(LogicalUnit), pick(owners));
  return graph;
}

Rect Footprint(const ArrangeNode& node, Point at) {
  return {at.x, at.y, at.x + node.width, at.y + node.height + kLabelBand};
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Arrangement Arranged(const ArrangeGraph& graph) {
  ArrangeProgress progress;
  std::optional<Arrangement> arrangement = ComputeArrangement(graph, progress);
  EXPECT_TRUE(arrangement.has_value());
  return arrangement.value_or(Arrangement{});
}

void ExpectNoOverlap(const ArrangeGraph& graph, const Arrangement& result) {
  for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
    const Rect a = Footprint(graph.nodes[i], result.positions[i]);
    EXPECT_GE(a.left, 0);
    EXPECT_GE(a.top, 0);
    EXPECT_LE(a.right, result.width);
    EXPECT_LE(a.bottom, result.height);
    for (std::size_t j = i + 1; j < graph.nodes.size(); ++j) {
      // Pinned nodes may overlap each other where the person put them.
      if (graph.nodes[i].pinned && graph.nodes[j].pinned) continue;
      EXPECT_FALSE(Overlap(a, Footprint(graph.nodes[j], result.positions[j]))) << i << " and " << j;
    }
  }
}

TEST(Arrange, RandomNetworksGetDistinctPlacesWithLusAndEndNodesBesideTheirOwners) {
  for (const auto& [seed, backbone] : {std::pair{1u, 1}, std::pair{2u, 5}, std::pair{3u, 40}, std::pair{4u, 150}}) {
    SCOPED_TRACE(seed);
    ArrangeGraph graph = RandomNetwork(seed, backbone);
    // An icon larger than the grid spacing widens every cell.
    graph.nodes.back().width = 120;
    const Arrangement result = Arranged(graph);
    ASSERT_EQ(result.positions.size(), graph.nodes.size());
    ExpectNoOverlap(graph, result);
    const std::vector<int> owners = FindOwners(graph);
    for (std::size_t i = 0; i < owners.size(); ++i) {
      if (owners[i] < 0) continue;
      const Point a = result.positions[i], b = result.positions[owners[i]];
      EXPECT_LE(std::hypot(a.x - b.x, a.y - b.y), 2.0 * CellSide(graph)) << i;
    }
    EXPECT_EQ(Arranged(graph).positions, result.positions) << "the same network, the same picture";
  }
}

TEST(Arrange, PinnedNodesStayAndTheRestKeepsClearOfThem) {
  ArrangeGraph graph = RandomNetwork(7, 30);
  // Pinned at odd places, straddling cells: a network node, an end node
  // (with LUs of its own, most likely) and an LU.
  int firstEnd = 0;
  while (graph.nodes[firstEnd].kind != EndNode) ++firstEnd;
  const int lastLu = static_cast<int>(graph.nodes.size()) - 1;
  const std::pair<int, Point> pins[] = {{0, {1003, 517}}, {firstEnd, {40, 0}}, {lastLu, {333, 333}}};
  for (const auto& [node, at] : pins) {
    graph.nodes[node].pinned = true;
    graph.nodes[node].at = at;
  }
  const Arrangement result = Arranged(graph);
  for (const auto& [node, at] : pins) EXPECT_EQ(result.positions[node], at);
  ExpectNoOverlap(graph, result);
}

TEST(Arrange, StopsWhenAsked) {
  ArrangeProgress progress;
  progress.stopRequested = true;
  EXPECT_FALSE(ComputeArrangement(RandomNetwork(3, 40), progress).has_value());
}

}  // namespace
}  // namespace mapvine
