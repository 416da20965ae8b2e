#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "graphics/CDIB.h"
#include "graphics/CDIBLayout.h"

namespace mapvine {
namespace {

// Without colour an inactive icon still differs from its active one: over a
// good share of the icon one is see-through (top-left index) where the other
// is not, or their greys lie far apart.
TEST(StandardIcons, InactiveIconsDifferFromActiveOnesInGrey) {
  auto grey = [](const CDIB& image, int x, int y) {
    const std::uint8_t* bgr = image.HeaderBlock() + dib::kColorTable + 4 * *image.PixelPtr(x, y);
    return (114 * bgr[0] + 587 * bgr[1] + 299 * bgr[2]) / 1000;
  };
  for (const std::string family : {"NN", "EN", "LU", "CN", "MN"}) {
    CDIB on, off;
    ASSERT_TRUE(on.Load(MAPVINE_SOURCE_DIR "/resources/" + family + ".BMP").loaded);
    ASSERT_TRUE(off.Load(MAPVINE_SOURCE_DIR "/resources/" + family + "I.BMP").loaded);
    ASSERT_EQ(on.GetRect(), off.GetRect());
    int drawn = 0, distinct = 0;
    for (int y = 0; y < on.GetHeight(); ++y) {
      for (int x = 0; x < on.GetWidth(); ++x) {
        const bool clearOn = *on.PixelPtr(x, y) == *on.PixelPtr(0, 0);
        const bool clearOff = *off.PixelPtr(x, y) == *off.PixelPtr(0, 0);
        if (clearOn && clearOff) continue;
        ++drawn;
        distinct += clearOn != clearOff || std::abs(grey(on, x, y) - grey(off, x, y)) > 40;
      }
    }
    EXPECT_GE(distinct * 100, drawn * 15) << family << ": " << distinct << " of " << drawn;
  }
}

}  // namespace
}  // namespace mapvine
