#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <queue>
#include <random>
#include <set>

#include "model/Neighbourhood.h"

namespace mapvine {
namespace {

TEST(Neighbourhood, IsWhatABreadthFirstSearchOverTheLinksReaches) {
  for (const std::uint32_t seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    CMapvineDoc doc;
    const int count = 60;
    std::vector<CNode*> nodes;
    for (int i = 0; i < count; ++i) {
      auto node = std::make_unique<CNode>();
      node->label = "N" + std::to_string(i);
      node->fqName = "NETA." + node->label;
      node->hidden = random() % 4 == 0;  // hidden nodes are reached all the same
      nodes.push_back(&doc.InsertNode(std::move(node)));
    }
    std::map<int, std::set<int>> adjacent;
    for (int i = 0; i < count; ++i) {
      const int a = static_cast<int>(random() % count), b = static_cast<int>(random() % count);
      doc.NewLink(*nodes[a], *nodes[b]);
      adjacent[a].insert(b);
      adjacent[b].insert(a);
    }
    for (int hops = kMinNeighbourhoodHops; hops <= kMaxNeighbourhoodHops; ++hops) {
      const int centre = hops * 7 % count;
      std::map<int, int> distance{{centre, 0}};
      std::queue<int> next;
      next.push(centre);
      while (!next.empty()) {
        const int at = next.front();
        next.pop();
        for (const int other : adjacent[at]) {
          if (distance.emplace(other, distance[at] + 1).second) next.push(other);
        }
      }
      std::set<std::string> expected;
      for (const auto& [node, d] : distance) {
        if (d <= hops) expected.insert(nodes[node]->label);
      }
      const int shown = ShowNeighbourhood(doc, *nodes[centre], hops);
      std::set<std::string> visible;
      for (const auto& node : doc.Nodes()) {
        if (!node->hidden) visible.insert(node->label);
      }
      EXPECT_EQ(visible, expected) << "seed " << seed << ", " << hops << " hops";
      EXPECT_EQ(shown, static_cast<int>(expected.size()));
    }
    const auto hidden = std::count_if(doc.Nodes().begin(), doc.Nodes().end(), [](const auto& n) { return n->hidden; });
    EXPECT_EQ(ShowAllNodes(doc), static_cast<int>(hidden));
    for (const auto& node : doc.Nodes()) EXPECT_FALSE(node->hidden);
  }
}

TEST(Neighbourhood, SaysHowManyOfHowManyWithinHowFarOfWhom) {
  EXPECT_EQ(NeighbourhoodText(23, 71000, 2, "NN1"), "Showing 23 of 71,000 nodes within 2 hops of NN1");
  EXPECT_EQ(NeighbourhoodText(1, 1, 1, "EN7"), "Showing 1 of 1 nodes within 1 hop of EN7");
  EXPECT_EQ(NeighbourhoodText(1234567, 1234567, 5, "X"), "Showing 1,234,567 of 1,234,567 nodes within 5 hops of X");
}

}  // namespace
}  // namespace mapvine
