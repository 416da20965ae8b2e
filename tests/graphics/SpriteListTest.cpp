#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/CSpriteList.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

class SpriteListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(icon, 32, 32, 9);
    *icon.PixelPtr(0, 0) = 7;
  }

  CSprite& Add(const std::string& label, int depth, int x = 0, int y = 0) {
    auto sprite = std::make_unique<CSprite>();
    sprite->label = label;
    sprite->SetImage(icon, 1, 6);
    sprite->SetPosition(x, y);
    sprite->SetDepth(depth);
    return list.Insert(std::move(sprite));
  }

  std::vector<std::string> Order() const {
    std::vector<std::string> labels;
    for (const auto& s : list) labels.push_back(s->label);
    return labels;
  }

  CDIB icon;
  CSpriteList list;
};

TEST_F(SpriteListTest, InsertKeepsAscendingDepthWithNewcomersInFront) {
  Add("first", 50);
  Add("low", 20);
  Add("second", 50);
  EXPECT_EQ(Order(), (std::vector<std::string>{"low", "second", "first"}));
  Add("top", 90);
  Add("lowest", -5);
  EXPECT_EQ(Order(), (std::vector<std::string>{"lowest", "low", "second", "first", "top"}));
}

TEST_F(SpriteListTest, SetDepthReordersAndReportsOnlyRealChanges) {
  fakes::FakeView view;
  list.SetView(&view);
  CSprite& a = Add("a", 10, 40, 40);
  Add("b", 20);
  Add("c", 30);

  a.SetDepth(10);
  EXPECT_EQ(Order(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(view.Dirty().empty());

  a.SetDepth(25);
  EXPECT_EQ(Order(), (std::vector<std::string>{"b", "a", "c"}));
  // The icon rectangle, without the label band.
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{40, 40, 72, 72}}));
  // Still reporting after being moved inside the list.
  a.SetDepth(99);
  EXPECT_EQ(Order(), (std::vector<std::string>{"b", "c", "a"}));
}

TEST_F(SpriteListTest, WithoutAViewDepthChangesStillReorder) {
  CSprite& a = Add("a", 10);
  Add("b", 20);
  a.SetDepth(30);
  a.SetPosition(5, 5);
  EXPECT_EQ(Order(), (std::vector<std::string>{"b", "a"}));
}

TEST_F(SpriteListTest, MovesBecomeDirtyRectanglesOfTheView) {
  fakes::FakeView view;
  list.SetView(&view);
  CSprite& a = Add("a", 10, 0, 100);
  a.SetPosition(10, 100);
  // Old and new band overlap and merge into one.
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{0, 70, 42, 162}}));
  a.SetPosition(200, 100);
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{200, 70, 232, 162}, {0, 70, 42, 162}}));
}

TEST_F(SpriteListTest, HitTestPrefersTheHeadAndSkipsHiddenSprites) {
  CSprite& below = Add("below", 60, 100, 100);
  CSprite& above = Add("above", 10, 110, 110);
  EXPECT_EQ(list.HitTest(120, 120), &above);
  above.hidden = 1;
  EXPECT_EQ(list.HitTest(120, 120), &below);
  below.hidden = 1;
  EXPECT_EQ(list.HitTest(120, 120), nullptr);
  EXPECT_EQ(list.HitTest(5, 5), nullptr);
}

TEST_F(SpriteListTest, FindByLabelIsExactAndPrefersTheHead) {
  Add("NODE1", 50);
  CSprite& nearer = Add("NODE1", 40);
  Add("NODE2", 30);
  EXPECT_EQ(list.FindByLabel("NODE1"), &nearer);
  EXPECT_EQ(list.FindByLabel("node1"), nullptr);
  EXPECT_EQ(list.FindByLabel("NODE"), nullptr);
}

TEST_F(SpriteListTest, RemoveHandsTheSpriteBackAndStopsItsReports) {
  fakes::FakeView view;
  list.SetView(&view);
  CSprite& a = Add("a", 10);
  Add("b", 20);
  std::unique_ptr<CSprite> taken = list.Remove(a);
  ASSERT_EQ(taken.get(), &a);
  EXPECT_EQ(Order(), (std::vector<std::string>{"b"}));
  EXPECT_EQ(list.Remove(a), nullptr);

  view.ClearDirty();
  taken->SetPosition(300, 300);
  taken->SetDepth(1);
  EXPECT_TRUE(view.Dirty().empty());
  EXPECT_EQ(list.size(), 1u);

  list.Insert(std::move(taken));
  EXPECT_EQ(Order(), (std::vector<std::string>{"a", "b"}));
  list.DeleteAll();
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace mapvine
