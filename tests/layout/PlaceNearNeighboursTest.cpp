#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "layout/ArrangePicture.h"
#include "layout/PlaceNearNeighbours.h"
#include "tests/model/SavedTopologyTestSupport.h"

namespace mapvine {
namespace {

Rect Footprint(const CNode& node) {
  const Rect r = node.GetRect();
  return {r.left, r.top, r.right, r.bottom + CNode::kLabelBand};
}

TEST(PlaceNearNeighbours, NewResourcesOfAnArrangedPictureGoBesideWhatTheyConnectTo) {
  for (const bool arranged : {true, false}) {
    SCOPED_TRACE(arranged);
    testing::SmallPicture p;
    if (arranged) {
      ASSERT_TRUE(ArrangeNow(p.doc));
    }
    std::map<std::string, Point> before;
    for (const auto& node : p.doc.Nodes()) before[node->label] = {node->GetX(), node->GetY()};
    const std::size_t placedBefore = p.doc.NodesByArrival().size();
    // An end node on NN1 with an LU of its own, and one linked to nothing.
    p.doc.NewNode("EN5", "NETA.EN5", EndNode, nullptr, nullptr);
    p.doc.NewNode("LU6", "NETA.LU6", LogicalUnit, nullptr, nullptr);
    p.doc.NewNode("NN7", "NETA.NN7", NetworkNode, nullptr, nullptr);
    p.doc.NewLink("NN1", "EN5", 1, 21, nullptr);
    p.doc.NewLink("LU6", "EN5", 1, 0, nullptr);
    std::map<std::string, Point> grid;
    for (const auto& node : p.doc.Nodes()) grid[node->label] = {node->GetX(), node->GetY()};

    EXPECT_EQ(PlaceNearNeighbours(p.doc, placedBefore) > 0, arranged);
    for (const auto& node : p.doc.Nodes()) {
      const Point at{node->GetX(), node->GetY()};
      if (before.contains(node->label)) {
        EXPECT_EQ(at, before[node->label]) << node->label << " stays";
      }
      if (!arranged) {
        EXPECT_EQ(at, grid[node->label]) << node->label << " keeps its grid place";
      }
      for (const auto& other : p.doc.Nodes()) {
        if (arranged && other != node && (!before.contains(node->label) || !before.contains(other->label))) {
          const Rect a = Footprint(*node), b = Footprint(*other);
          EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
              << node->label << " and " << other->label;
        }
      }
    }
    if (!arranged) continue;
    for (const auto& [node, neighbour] : {std::pair{"EN5", "NN1"}, std::pair{"LU6", "EN5"}}) {
      const Point a = p.doc.FindNode(node)->GetCenter(), b = p.doc.FindNode(neighbour)->GetCenter();
      EXPECT_LE(std::hypot(a.x - b.x, a.y - b.y), 2.0 * p.doc.placement.gridSpacing) << node;
    }
  }
}

}  // namespace
}  // namespace mapvine
