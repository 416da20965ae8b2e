#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "graphics/CDIBPal.h"
#include "graphics/LineDrawing.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

// The dash step inactive links are drawn with.
constexpr int kDash = 6;

TEST(LineDrawingTest, LinesAreTwoPixelsWideInsideTheirBoundsAndReachBothEnds) {
  const Point ends[][2] = {{{3, 4}, {37, 25}}, {{37, 2}, {5, 28}}, {{20, 1}, {22, 28}},
                           {{10, 20}, {20, 20}}, {{30, 15}, {30, 5}}, {{1, 1}, {1, 1}}};
  for (const auto& e : ends) {
    CDIB image;
    fakes::MakeImage(image, 40, 30, 0);
    DrawWideLine(image, e[0], e[1], 8, image.GetRect());
    const Rect bounds = Rect{e[0].x, e[0].y, e[1].x, e[1].y}.Normalized().Inflated(1, 1);
    EXPECT_EQ(fakes::CountChanges(image, 0, bounds).outside, 0);
    EXPECT_EQ(fakes::PixelAt(image, e[0].x, e[0].y), 8);
    EXPECT_EQ(fakes::PixelAt(image, e[1].x, e[1].y), 8);
    // Every column (or row) along the main direction gets two pixels.
    const int steps = std::max(std::abs(e[1].x - e[0].x), std::abs(e[1].y - e[0].y)) + 1;
    EXPECT_EQ(fakes::CountChanges(image, 0, bounds).inside, 2 * steps);
  }
}

TEST(LineDrawingTest, FarAwayEndsAreCutToThePicture) {
  CDIB image;
  fakes::MakeImage(image, 40, 30, 0);
  DrawWideLine(image, {INT_MIN, 10}, {INT_MAX, 10}, 3, image.GetRect());
  EXPECT_EQ(fakes::CountChanges(image, 0, {0, 9, 40, 11}).inside, 80);
  DrawWideLine(image, {-1000000, -5}, {1000000, -3}, 3, image.GetRect());  // above the picture
  DrawWideLine(image, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, 3, image.GetRect());  // right of it
  EXPECT_EQ(fakes::CountChanges(image, 0, {0, 9, 40, 11}).outside, 0);
}

// A partial redraw must set, inside its area, exactly the pixels a full
// draw sets there, and nothing outside it.
TEST(LineDrawingTest, AClippedLineIsTheFullLineCutToTheClip) {
  const Point ends[][2] = {{{-50, 3}, {90, 41}}, {{37, 2}, {5, 28}}, {{2, 29}, {39, 0}}};
  const Rect clips[] = {{10, 5, 25, 20}, {0, 0, 3, 30}, {30, 25, 60, 60}, {15, 15, 15, 15}};
  for (const auto& e : ends) {
    CDIB full;
    fakes::MakeImage(full, 40, 30, 0);
    DrawWideLine(full, e[0], e[1], 8, full.GetRect());
    for (const Rect& clip : clips) {
      CDIB part;
      fakes::MakeImage(part, 40, 30, 0);
      DrawWideLine(part, e[0], e[1], 8, clip);
      for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
          const bool inside = clip.Contains({x, y});
          EXPECT_EQ(fakes::PixelAt(part, x, y), inside ? fakes::PixelAt(full, x, y) : 0)
              << x << "," << y;
        }
      }
    }
  }
}

// Dashes run from the line's start, whichever way it goes; both pen pixels
// of a step are lit or dark together, and a partial redraw keeps them.
TEST(LineDrawingTest, DashedLineLightsEveryOtherRunOfSteps) {
  for (const bool leftward : {false, true}) {
    const Point start{leftward ? 37 : 2, 10};
    CDIB image, part;
    fakes::MakeImage(image, 40, 30, 0);
    fakes::MakeImage(part, 40, 30, 0);
    DrawWideLine(image, start, {leftward ? 2 : 37, 12}, 8, image.GetRect(), kDash);
    DrawWideLine(part, start, {leftward ? 2 : 37, 12}, 8, {9, 0, 40, 30}, kDash);
    for (int x = 2; x <= 37; ++x) {
      const bool lit = std::abs(x - start.x) / kDash % 2 == 0;
      EXPECT_EQ(fakes::CountChanges(image, 0, {x, 0, x + 1, 30}).inside, lit ? 2 : 0) << x;
      EXPECT_EQ(fakes::CountChanges(part, 0, {x, 0, x + 1, 30}).inside, lit && x >= 9 ? 2 : 0) << x;
    }
  }
}

TEST(LineDrawingTest, NearestTableIndexPrefersTheLowestOnTies) {
  CDIBPal palette;
  palette.SetEntries({{9, 9, 9, 0}, {0, 250, 0, 0}, {0, 250, 0, 0}, {255, 0, 0, 0}});
  CDIB image;
  image.Create(2, 2, &palette);
  EXPECT_EQ(NearestTableIndex(image, {0, 255, 0, 0}), 1);
  EXPECT_EQ(NearestTableIndex(image, {200, 10, 0, 0}), 3);
  EXPECT_EQ(NearestTableIndex(image, {0, 0, 0, 0}), 0);
}

}  // namespace
}  // namespace mapvine
