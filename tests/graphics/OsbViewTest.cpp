#include <gtest/gtest.h>

#include "graphics/COSBView.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

using fakes::FakeView;
using Rects = std::vector<Rect>;

// A view with a 200 x 100 buffer that has presented once already.
class OsbViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(background, 200, 100, 3);
    ASSERT_TRUE(view.CreateBuffer(background, 0, 0, nullptr));
    view.visible = {0, 0, 200, 100};
    view.CopyToScreen(nullptr);
    view.presented.clear();
  }

  void AddDisjoint(int n) {
    for (int i = 0; i < n; ++i) view.AddDirty({i * 4, 0, i * 4 + 2, 2});
  }

  CDIB background;
  FakeView view;
};

TEST_F(OsbViewTest, AddDirtyMergesWithTheMostRecentRectangleOnly) {
  view.AddDirty({0, 0, 10, 10});
  view.AddDirty({5, 5, 20, 20});
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{0, 0, 20, 20}}));
  view.AddDirty({100, 100, 110, 110});
  view.AddDirty({0, 0, 1, 1});  // overlaps an older one, not the front one
  view.AddDirty({1, 0, 5, 1});  // only touches the front one
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{
                              {1, 0, 5, 1}, {0, 0, 1, 1}, {100, 100, 110, 110}, {0, 0, 20, 20}}));
}

TEST_F(OsbViewTest, FlushDirtyHandlesUpToFortyRectanglesOneByOneMostRecentFirst) {
  AddDisjoint(40);
  const std::deque<Rect> pending = view.Dirty();
  view.FlushDirty();
  ASSERT_EQ(view.renders.size(), 40u);
  EXPECT_EQ(view.presented, Rects(pending.begin(), pending.end()));
  for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(view.renders[i], pending[i]);
  EXPECT_TRUE(view.Dirty().empty());
}

TEST_F(OsbViewTest, FlushDirtyRecomposesEverythingBeyondFortyOrWhenNotIncremental) {
  for (const auto& [count, incremental] : {std::pair{41, true}, std::pair{3, false}}) {
    view.renders.clear();
    view.presented.clear();
    view.incrementalUpdate = incremental;
    AddDisjoint(count);
    view.FlushDirty();
    EXPECT_EQ(view.renders, (std::vector<std::optional<Rect>>{std::nullopt})) << count;
    EXPECT_EQ(view.presented, (Rects{{0, 0, 200, 100}}));
    EXPECT_TRUE(view.Dirty().empty());
  }
}

TEST_F(OsbViewTest, ABatchSuppressesFlushAndCopyAndItsEndIsToldOnce) {
  view.AddDirty({0, 0, 5, 5});
  {
    const COSBView::Batch outer(view);
    const COSBView::Batch inner(view);
    view.FlushDirty();
    view.CopyToScreen(nullptr);
  }
  EXPECT_TRUE(view.Dirty().empty());
  EXPECT_TRUE(view.renders.empty());
  EXPECT_TRUE(view.presented.empty());
  EXPECT_EQ(view.batchesFinished, 1);
  EXPECT_FALSE(view.InBatch());
}

TEST_F(OsbViewTest, CopyToScreenCutsTheAreaToBufferAndWindow) {
  const std::pair<Rect, Rects> cases[] = {
      {{10, 10, 20, 20}, {{10, 10, 20, 20}}},
      {{190, 90, 260, 150}, {{190, 90, 200, 100}}},
      {{-5, -5, 3, 3}, {{0, 0, 3, 3}}},
      {{300, 300, 310, 310}, {}},  // wholly outside
  };
  for (const auto& [asked, presented] : cases) {
    view.presented.clear();
    view.CopyToScreen(&asked);
    EXPECT_EQ(view.presented, presented);
  }
  // A smaller window, once settled, cuts the copies, with or without area.
  view.visible = {0, 0, 100, 50};
  view.CopyToScreen(nullptr);
  view.presented.clear();
  const Rect big{0, 0, 500, 500};
  view.CopyToScreen(&big);
  view.CopyToScreen(nullptr);
  EXPECT_EQ(view.presented, (Rects{{0, 0, 100, 50}, {0, 0, 100, 50}}));
}

// What a scroll uncovers the window asks for itself: a copy after a scroll
// presents what it was asked for, not the whole buffer.
TEST_F(OsbViewTest, AfterAScrollACopyPresentsOnlyItsArea) {
  const Rect asked{10, 40, 20, 50};
  view.visible = {0, 30, 200, 100};
  view.CopyToScreen(&asked);
  EXPECT_EQ(view.presented, (Rects{asked}));
}

TEST(OsbViewBufferTest, CreateBufferTakesTheBackgroundSizeUnlessBothAreGiven) {
  CDIB background;
  fakes::MakeImage(background, 120, 80, 0);
  const std::pair<Point, Point> cases[] = {
      {{0, 300}, {120, 80}}, {{300, 0}, {120, 80}}, {{300, 200}, {300, 200}}};
  for (const auto& [asked, size] : cases) {
    FakeView view;
    ASSERT_TRUE(view.CreateBuffer(background, asked.x, asked.y, nullptr));
    EXPECT_EQ((Point{view.BufferRect().Width(), view.BufferRect().Height()}), size);
    EXPECT_EQ(view.scrollSizes, size);
  }
}

TEST(OsbViewBufferTest, BufferColoursComeFromThePaletteArgument) {
  const CDIBPal ramp = fakes::RampPalette(20);
  CDIB background;
  FakeView view;
  ASSERT_TRUE(view.CreateBuffer(background, 0, 0, &ramp));
  ASSERT_EQ(view.Palette()->ColorCount(), 20);
  EXPECT_EQ(view.Palette()->Entries()[7], ramp.Entries()[7]);
}

TEST(OsbViewBufferTest, WithoutBufferNothingIsPresentedAndScrollSizeIsDefault) {
  FakeView view;
  view.OnInitialUpdate();
  EXPECT_EQ(view.scrollSizes, (Point{640, 480}));
  view.OnUpdate();
  EXPECT_EQ(view.renders.size(), 1u);
  EXPECT_TRUE(view.presented.empty());
}

TEST(OsbViewBufferTest, TextDrawerFollowsEveryNewBuffer) {
  fakes::RecordingTextDrawer drawer;
  CDIB background;
  FakeView view;
  view.SetTextDrawer(&drawer);
  for (int width : {0, 40}) {
    ASSERT_TRUE(view.CreateBuffer(background, width, 40, nullptr));
    EXPECT_EQ(view.GetBufferDC(), &drawer);
  }
}

}  // namespace
}  // namespace mapvine
