#include <gtest/gtest.h>

#include "graphics/COSBView.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

using fakes::FakeView;

// A view with a 200 x 100 buffer that has already presented once, so the
// visible-area and scroll checks start settled.
class OsbViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(background, 200, 100, 3);
    ASSERT_TRUE(view.CreateBuffer(background, 0, 0, nullptr));
    view.visible = {0, 0, 200, 100};
    view.CopyToScreen(nullptr);
    view.presented.clear();
  }

  static std::vector<Rect> DisjointRects(int n) {
    std::vector<Rect> rects;
    for (int i = 0; i < n; ++i) rects.push_back({i * 4, 0, i * 4 + 2, 2});
    return rects;
  }

  CDIB background;
  FakeView view;
};

TEST_F(OsbViewTest, AddDirtyMergesWithTheMostRecentRectangleOnly) {
  view.AddDirty({0, 0, 10, 10});
  view.AddDirty({5, 5, 20, 20});
  EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{0, 0, 20, 20}}));

  view.AddDirty({100, 100, 110, 110});
  // Overlaps the older rectangle, but only the front one is compared.
  view.AddDirty({0, 0, 1, 1});
  EXPECT_EQ(view.Dirty(),
            (std::deque<Rect>{{0, 0, 1, 1}, {100, 100, 110, 110}, {0, 0, 20, 20}}));

  // Touching edges do not intersect.
  view.AddDirty({1, 0, 5, 1});
  EXPECT_EQ(view.Dirty().size(), 4u);
}

TEST_F(OsbViewTest, FlushDirtyHandlesUpToFortyRectanglesOneByOne) {
  const auto rects = DisjointRects(40);
  for (const Rect& r : rects) view.AddDirty(r);
  view.FlushDirty();

  ASSERT_EQ(view.renders.size(), 40u);
  ASSERT_EQ(view.presented.size(), 40u);
  for (std::size_t i = 0; i < 40; ++i) {
    // Most recent first, for both passes.
    EXPECT_EQ(view.renders[i], rects[39 - i]);
    EXPECT_EQ(view.presented[i], rects[39 - i]);
  }
  EXPECT_TRUE(view.Dirty().empty());
}

TEST_F(OsbViewTest, FlushDirtyRecomposesEverythingBeyondFortyOrWhenNotIncremental) {
  struct Case {
    int rects;
    bool incremental;
  };
  for (const Case c : {Case{41, true}, Case{3, false}}) {
    SCOPED_TRACE(c.rects);
    view.renders.clear();
    view.presented.clear();
    view.incrementalUpdate = c.incremental;
    for (const Rect& r : DisjointRects(c.rects)) view.AddDirty(r);
    view.FlushDirty();

    ASSERT_EQ(view.renders.size(), 1u);
    EXPECT_FALSE(view.renders[0].has_value());
    EXPECT_EQ(view.presented, (std::vector<Rect>{{0, 0, 200, 100}}));
    EXPECT_TRUE(view.Dirty().empty());
  }
}

TEST_F(OsbViewTest, PaintingSuppressesFlushAndCopy) {
  view.AddDirty({0, 0, 5, 5});
  view.painting = true;
  view.FlushDirty();
  EXPECT_TRUE(view.Dirty().empty());
  view.copyWholeBuffer = true;
  view.CopyToScreen(nullptr);
  EXPECT_TRUE(view.renders.empty());
  EXPECT_TRUE(view.presented.empty());
  // The one-shot flag waits for a copy that really happens.
  EXPECT_TRUE(view.copyWholeBuffer);

  view.painting = false;
  const Rect small{1, 1, 2, 2};
  view.CopyToScreen(&small);
  EXPECT_EQ(view.presented, (std::vector<Rect>{{0, 0, 200, 100}}));
  EXPECT_FALSE(view.copyWholeBuffer);
}

TEST_F(OsbViewTest, CopyToScreenCutsTheAreaToBufferAndVisibleArea) {
  struct Case {
    Rect asked;
    std::vector<Rect> presented;
  };
  const Case cases[] = {
      {{10, 10, 20, 20}, {{10, 10, 20, 20}}},
      {{190, 90, 260, 150}, {{190, 90, 200, 100}}},
      {{-5, -5, 3, 3}, {{0, 0, 3, 3}}},
      {{300, 300, 310, 310}, {}},  // wholly outside: nothing
      {{50, 50, 50, 60}, {}},      // empty
  };
  for (const Case& c : cases) {
    view.presented.clear();
    view.CopyToScreen(&c.asked);
    EXPECT_EQ(view.presented, c.presented);
  }

  // Only what the window shows is copied (once the smaller window settled).
  view.visible = {0, 0, 100, 50};
  view.CopyToScreen(nullptr);
  view.presented.clear();
  const Rect big{0, 0, 500, 500};
  view.CopyToScreen(&big);
  EXPECT_EQ(view.presented, (std::vector<Rect>{{0, 0, 100, 50}}));
}

TEST_F(OsbViewTest, CopyToScreenAfterScrollingCopiesTheWholeBuffer) {
  const Rect asked{10, 10, 20, 20};
  view.scroll = {0, 30};
  view.visible = {0, 30, 200, 100};
  view.CopyToScreen(&asked);
  EXPECT_EQ(view.presented, (std::vector<Rect>{{0, 0, 200, 100}}));

  // Settled: the next copies are the asked area again, cut to the window.
  view.presented.clear();
  view.CopyToScreen(&asked);
  const Rect shown{10, 40, 20, 50};
  view.CopyToScreen(&shown);
  EXPECT_EQ(view.presented, (std::vector<Rect>{shown}));
}

TEST_F(OsbViewTest, SkipScrollCheckCopiesOnlyTheAskedAreaOnce) {
  const Rect asked{10, 40, 20, 50};
  view.scroll = {0, 30};
  view.visible = {0, 30, 200, 100};
  view.skipScrollCheck = true;
  view.CopyToScreen(&asked);
  EXPECT_EQ(view.presented, (std::vector<Rect>{asked}));
  EXPECT_FALSE(view.skipScrollCheck);

  // The scroll change is seen by the next copy.
  view.presented.clear();
  view.CopyToScreen(&asked);
  EXPECT_EQ(view.presented, (std::vector<Rect>{{0, 0, 200, 100}}));
}

TEST_F(OsbViewTest, CopyToScreenWithoutRectangleCopiesTheVisibleArea) {
  view.visible = {0, 0, 200, 100};
  view.CopyToScreen(nullptr);
  EXPECT_EQ(view.presented, (std::vector<Rect>{{0, 0, 200, 100}}));
}

TEST(OsbViewBufferTest, CreateBufferTakesTheBackgroundSizeUnlessBothAreGiven) {
  CDIB background;
  fakes::MakeImage(background, 120, 80, 0);
  struct Case {
    int width, height;
    Point size;
  };
  for (const Case c : {Case{0, 300, {120, 80}}, Case{300, 0, {120, 80}}, Case{0, 0, {120, 80}},
                       Case{300, 200, {300, 200}}}) {
    FakeView view;
    ASSERT_TRUE(view.CreateBuffer(background, c.width, c.height, nullptr));
    ASSERT_NE(view.Surface(), nullptr);
    EXPECT_EQ(view.Surface()->GetWidth(), c.size.x);
    EXPECT_EQ(view.Surface()->GetHeight(), c.size.y);
    EXPECT_EQ(view.scrollSizes, c.size);
    // The buffer starts blank: composing is the derived view's business.
    EXPECT_EQ(fakes::CountChanges(*view.Surface(), 0, {}).outside, 0);
  }
}

TEST(OsbViewBufferTest, BufferColoursComeFromThePaletteArgument) {
  const CDIBPal ramp = fakes::RampPalette(20);
  CDIB background;
  fakes::MakeImage(background, 10, 10, 0);
  FakeView view;
  ASSERT_TRUE(view.CreateBuffer(background, 0, 0, &ramp));
  ASSERT_NE(view.Palette(), nullptr);
  ASSERT_EQ(view.Palette()->ColorCount(), 20);
  const CDIBSurface& surface = *view.Surface();
  EXPECT_EQ(surface.ColorCount(), 20);
  const std::uint8_t* entry7 = surface.HeaderBlock() + CDIB::kInfoHeaderSize + 4 * 7;
  EXPECT_EQ(entry7[0], 3);    // blue
  EXPECT_EQ(entry7[1], 248);  // green
  EXPECT_EQ(entry7[2], 7);    // red
}

TEST(OsbViewBufferTest, WithoutBufferNothingIsPresentedAndScrollSizeIsDefault) {
  FakeView view;
  view.OnInitialUpdate();
  EXPECT_EQ(view.scrollSizes, (Point{640, 480}));
  view.copyWholeBuffer = true;
  view.CopyToScreen(nullptr);
  view.OnUpdate();
  EXPECT_TRUE(view.presented.empty());
  EXPECT_EQ(view.renders.size(), 1u);
}

TEST(OsbViewBufferTest, TextDrawerFollowsEveryNewBuffer) {
  fakes::RecordingTextDrawer drawer;
  CDIB background;
  FakeView view;
  view.SetTextDrawer(&drawer);
  ASSERT_TRUE(view.CreateBuffer(background, 0, 0, nullptr));
  EXPECT_EQ(view.Surface()->TextDrawer(), &drawer);
  ASSERT_TRUE(view.CreateBuffer(background, 40, 40, nullptr));
  EXPECT_EQ(view.Surface()->TextDrawer(), &drawer);
  EXPECT_EQ(view.GetBufferDC(), &drawer);
}

}  // namespace
}  // namespace mapvine
