#include <gtest/gtest.h>

#include <functional>

#include "graphics/COSBView.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

using fakes::FakeView;
using Rects = std::vector<Rect>;

// A view with a 200 x 100 buffer, all of it in the window.
class OsbViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(background, 200, 100, 3);
    ASSERT_TRUE(view.CreateBuffer(background, 0, 0, nullptr));
    view.visible = {0, 0, 200, 100};
  }

  void ChangeDisjoint(int n) {
    for (int i = 0; i < n; ++i) view.PictureChanged({i * 4, 0, i * 4 + 2, 2});
  }

  CDIB background;
  FakeView view;
};

// Outside a batch a change is exposed at once, cut to the buffer and the
// window; only a change of the picture itself is told as one.
TEST_F(OsbViewTest, AChangeIsExposedAtOnceCutToBufferAndWindow) {
  const std::pair<Rect, Rects> cases[] = {
      {{10, 10, 20, 20}, {{10, 10, 20, 20}}},
      {{190, 90, 260, 150}, {{190, 90, 200, 100}}},
      {{-5, -5, 3, 3}, {{0, 0, 3, 3}}},
      {{300, 300, 310, 310}, {}},  // wholly outside
  };
  for (const auto& [asked, exposed] : cases) {
    view.presented.clear();
    view.changedAreas.clear();
    view.PictureChanged(asked);
    EXPECT_EQ(view.presented, exposed);
    EXPECT_EQ(view.changedAreas, Rects{asked});
    view.presented.clear();
    view.OverlayChanged(asked);
    EXPECT_EQ(view.presented, exposed);
    EXPECT_EQ(view.changedAreas, Rects{asked});
  }
  // After a scroll or in a smaller window only what it shows is exposed.
  view.visible = {0, 30, 100, 80};
  view.presented.clear();
  view.PictureChanged({0, 0, 500, 500});
  view.PictureChanged();
  view.OverlayChanged();
  EXPECT_EQ(view.presented, (Rects{{0, 30, 100, 80}, {0, 30, 100, 80}, {0, 30, 100, 80}}));
  EXPECT_EQ(view.wholeChanges, 1);
}

TEST_F(OsbViewTest, ABatchExposesItsMergedAreasAtItsEndMostRecentFirst) {
  {
    const COSBView::Batch outer(view);
    {
      const COSBView::Batch inner(view);
      view.OverlayChanged({0, 0, 10, 10});
      view.PictureChanged({5, 5, 20, 20});
      view.PictureChanged({100, 50, 110, 60});
      view.OverlayChanged({0, 0, 1, 1});  // overlaps an older one, not the front one
      view.PictureChanged({1, 0, 5, 1});  // only touches the front one
    }
    EXPECT_EQ(view.Dirty(), (std::deque<Rect>{{1, 0, 5, 1}, {0, 0, 1, 1}, {100, 50, 110, 60}, {0, 0, 20, 20}}));
    EXPECT_TRUE(view.presented.empty());
    EXPECT_EQ(view.batchesFinished, 0);
  }
  EXPECT_EQ(view.presented, (Rects{{1, 0, 5, 1}, {0, 0, 1, 1}, {100, 50, 110, 60}, {0, 0, 20, 20}}));
  EXPECT_EQ(view.changedAreas.size(), 3u);  // told at once, batch or not
  EXPECT_EQ(view.wholeChanges, 0);
  EXPECT_EQ(view.batchesFinished, 1);
  EXPECT_TRUE(view.Dirty().empty());
  EXPECT_FALSE(view.InBatch());
}

// Beyond 1,024 areas, after an overlay changed all over or the picture did,
// the end exposes the window once; the picture's whole change is told once.
TEST_F(OsbViewTest, ABatchEndExposesTheWindowOnceForManyAreasOrAWholeChange) {
  const std::function<void()> changes[] = {
      [&] { ChangeDisjoint(1025); },
      [&] { ChangeDisjoint(3), view.OverlayChanged(), ChangeDisjoint(3); },
      [&] { ChangeDisjoint(3), view.PictureChanged(), view.PictureChanged(), ChangeDisjoint(3); },
  };
  int wholeChanges = 0;
  for (const auto& change : changes) {
    view.presented.clear();
    const int wholeBefore = view.wholeChanges;
    {
      const COSBView::Batch batch(view);
      change();
      EXPECT_EQ(view.wholeChanges, wholeBefore);
    }
    wholeChanges += view.wholeChanges - wholeBefore;
    EXPECT_EQ(view.presented, (Rects{{0, 0, 200, 100}}));
    EXPECT_TRUE(view.Dirty().empty());
    EXPECT_FALSE(view.WholeChangePending());
  }
  EXPECT_EQ(wholeChanges, 1);
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
  view.PictureChanged();
  view.PictureChanged({0, 0, 10, 10});
  EXPECT_EQ(view.wholeChanges, 1);
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
