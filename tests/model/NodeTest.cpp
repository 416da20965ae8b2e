#include <gtest/gtest.h>

#include <vector>

#include "model/CLink.h"
#include "model/CNode.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

// The areas a node asks to have redrawn, and its own reports.
class DirtyAreas final : public SpriteObserver {
 public:
  void Changed(CSprite&, int, const Rect& first, const Rect* second) override {
    bands.push_back(first);
    if (second != nullptr) bands.push_back(*second);
  }
  void AddDirty(const Rect& area) override { dirty.push_back(area); }
  std::vector<Rect> bands;
  std::vector<Rect> dirty;
};

// A 32 x 32 node at (100, 100), the first end of one link and the second
// of another; a move through the sprite moves both ends and redraws both
// links where they were and where they are.
TEST(Node, MovingTakesTheLinkEndsAlong) {
  CDIB icon;
  fakes::MakeImage(icon, 32, 32, 9);
  CNode node;
  node.SetImage(icon, 1, 6);
  node.SetPosition(100, 100);
  CNode other;
  CLink out;
  out.endA = &node, out.endB = &other;
  out.x1 = 116, out.y1 = 116, out.x2 = 200, out.y2 = 150;
  out.UpdateBounds();
  CLink in;
  in.endA = &other, in.endB = &node;
  in.x1 = 10, in.y1 = 10, in.x2 = 116, in.y2 = 116;
  in.UpdateBounds();
  node.links.Add(&out);
  node.links.Add(&in);
  DirtyAreas observer;
  node.SetObserver(&observer);

  static_cast<CSprite&>(node).SetPosition(110, 100);
  EXPECT_EQ((std::vector<int>{out.x1, out.y1, out.x2, out.y2}), (std::vector{126, 116, 200, 150}));
  EXPECT_EQ((std::vector<int>{in.x1, in.y1, in.x2, in.y2}), (std::vector{10, 10, 126, 116}));
  EXPECT_EQ(observer.dirty, (std::vector<Rect>{
                                {115, 115, 201, 151}, {9, 9, 117, 117}, out.bounds, in.bounds}));
  EXPECT_EQ(observer.bands, (std::vector<Rect>{{100, 70, 132, 162}, {110, 70, 142, 162}}));

  // Without an observer the links still follow.
  node.SetObserver(nullptr);
  node.SetPosition(100, 130);
  EXPECT_EQ((Point{out.x1, out.y1}), (Point{116, 146}));
}

TEST(Node, SetImageKeepsTheSlotsGivenAsZero) {
  CDIB icon;
  fakes::MakeImage(icon, 8, 8, 42);
  CNode node;
  node.SetImage(icon, 1, 6);
  node.SetImage(icon, 0, 0);
  EXPECT_TRUE(node.SharesStorageWith(icon));
  EXPECT_EQ((std::pair{node.activeImage, node.inactiveImage}), (std::pair{1, 6}));
  node.SetImage(icon, 3, 0);
  EXPECT_EQ((std::pair{node.activeImage, node.inactiveImage}), (std::pair{3, 6}));
}

}  // namespace
}  // namespace mapvine
