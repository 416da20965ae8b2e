#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CSpriteList.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

using Labels = std::vector<std::string>;

class SpriteListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(icon, 32, 32, 9);
    *icon.PixelPtr(0, 0) = 7;
  }

  CNode& Add(const std::string& label, int depth, int x = 0, int y = 0) {
    auto sprite = std::make_unique<CNode>();
    sprite->label = label;
    sprite->SetImage(icon, 1, 6);
    sprite->SetPosition(x, y);
    sprite->SetDepth(depth);
    return list.Insert(std::move(sprite));
  }

  Labels Order() const {
    Labels labels;
    for (const auto& s : list) labels.push_back(s->label);
    return labels;
  }

  CDIB icon;
  CSpriteList list;
  fakes::FakeView view;
};

TEST_F(SpriteListTest, InsertKeepsAscendingDepthWithNewcomersInFront) {
  Add("first", 50);
  Add("low", 20);
  Add("second", 50);
  EXPECT_EQ(Order(), (Labels{"low", "second", "first"}));
  Add("top", 90);
  Add("lowest", -5);
  EXPECT_EQ(Order(), (Labels{"lowest", "low", "second", "first", "top"}));
}

TEST_F(SpriteListTest, SetDepthReordersAndReportsOnlyRealChanges) {
  list.SetView(&view);
  CNode& a = Add("a", 10, 40, 40);
  Add("b", 20);
  Add("c", 30);
  view.changedAreas.clear();
  a.SetDepth(10);
  EXPECT_EQ(Order(), (Labels{"a", "b", "c"}));
  EXPECT_TRUE(view.changedAreas.empty());

  a.SetDepth(25);
  EXPECT_EQ(Order(), (Labels{"b", "a", "c"}));
  EXPECT_EQ(view.changedAreas, (std::vector<Rect>{{40, 40, 72, 72}}));  // no label band
  a.SetDepth(99);  // still reporting after its move inside the list
  EXPECT_EQ(Order(), (Labels{"b", "c", "a"}));

  // Without a view the order is kept all the same.
  list.SetView(nullptr);
  a.SetDepth(0);
  EXPECT_EQ(Order(), (Labels{"a", "b", "c"}));
}

TEST_F(SpriteListTest, MovesBecomeMergedDirtyRectanglesOfTheView) {
  list.SetView(&view);
  CNode& a = Add("a", 10, 0, 100);
  const COSBView::Batch batch(view);
  a.SetPosition(10, 100);
  a.SetPosition(200, 100);
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{200, 70, 232, 162}, {0, 70, 42, 162}}));
}

TEST_F(SpriteListTest, HitTestPrefersTheHeadAndSkipsHiddenSprites) {
  CNode& below = Add("below", 60, 100, 100);
  CNode& above = Add("above", 10, 110, 110);
  EXPECT_EQ(list.HitTest(120, 120), &above);
  above.hidden = 1;
  EXPECT_EQ(list.HitTest(120, 120), &below);
  below.hidden = 1;
  EXPECT_EQ(list.HitTest(120, 120), nullptr);
}

TEST_F(SpriteListTest, FindByLabelIsExactAndPrefersTheHead) {
  Add("NODE1", 50);
  CNode& nearer = Add("NODE1", 40);
  EXPECT_EQ(list.FindByLabel("NODE1"), &nearer);
  EXPECT_EQ(list.FindByLabel("node1"), nullptr);
  EXPECT_EQ(list.FindByLabel("NODE"), nullptr);
}

TEST_F(SpriteListTest, RemoveHandsTheSpriteBackAndStopsItsReports) {
  list.SetView(&view);
  CNode& a = Add("a", 10);
  Add("b", 20);
  std::unique_ptr<CNode> taken = list.Remove(a);
  ASSERT_EQ(taken.get(), &a);
  EXPECT_EQ(list.Remove(a), nullptr);
  view.changedAreas.clear();
  taken->SetPosition(300, 300);
  taken->SetDepth(1);
  EXPECT_TRUE(view.changedAreas.empty());
  EXPECT_EQ(Order(), (Labels{"b"}));

  list.Insert(std::move(taken));
  EXPECT_EQ(Order(), (Labels{"a", "b"}));
}

}  // namespace
}  // namespace mapvine
