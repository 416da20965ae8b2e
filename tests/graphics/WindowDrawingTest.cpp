#include <gtest/gtest.h>

#include <random>
#include <string>

#include "graphics/LineDrawing.h"
#include "graphics/SpatialGrid.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

// A line drawn into a window of the picture sets exactly the pixels the
// same line sets there in the whole picture, however long the line and
// wherever the window; and the grid lists every line that sets a pixel in
// the window.
TEST(WindowDrawing, LinesInAWindowMatchTheWholePicture) {
  std::mt19937 random(20);
  auto upTo = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const Rect picture{0, 0, 160, 120};
  for (int round = 0; round < 3000; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const Point from{upTo(200) - 20, upTo(160) - 20};
    const Point to{upTo(200) - 20, upTo(160) - 20};
    const Rect window{upTo(150), upTo(110), 0, 0};
    const Rect shown{window.left, window.top, window.left + 1 + upTo(20), window.top + 1 + upTo(20)};
    CDIB whole;
    fakes::MakeImage(whole, picture.Width(), picture.Height(), 0);
    DrawWideLine(whole, from, to, 7, picture);
    CDIB part;
    fakes::MakeImage(part, shown.Width(), shown.Height(), 0);
    DrawWideLineInWindow(part, {shown.left, shown.top}, picture, from, to, 7, picture);

    SpatialGrid grid(picture.Width(), picture.Height(), 16);
    grid.AddLine(0, from, to, 2);
    const bool listed = !grid.Query(shown).empty();
    for (int y = shown.top; y < std::min(shown.bottom, picture.bottom); ++y) {
      for (int x = shown.left; x < std::min(shown.right, picture.right); ++x) {
        const std::uint8_t expected = *whole.PixelPtr(x, y);
        ASSERT_EQ(*part.PixelPtr(x - shown.left, y - shown.top), expected) << x << "," << y;
        if (expected == 7) {
          ASSERT_TRUE(listed) << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace mapvine
