#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "graphics/CDIB.h"
#include "graphics/CDIBLayout.h"

namespace mapvine {
namespace {

// Grey level (0..255) of a colour-table entry, by the usual luma weights.
int GreyOf(const CDIB& image, std::uint8_t index) {
  const std::uint8_t* entry = image.HeaderBlock() + dib::kColorTable + 4 * index;
  return (114 * entry[0] + 587 * entry[1] + 299 * entry[2]) / 1000;
}

// A reader who cannot tell red from green still tells an inactive icon from
// its active one: over a good share of the icon, one is see-through where
// the other is not, or their greys lie far apart.
TEST(StandardIcons, InactiveIconsDifferFromActiveOnesInGrey) {
  const std::filesystem::path resources = std::filesystem::path(MAPVINE_SOURCE_DIR) / "resources";
  for (const char* family : {"NN", "EN", "LU", "CN", "MN"}) {
    SCOPED_TRACE(family);
    CDIB active, inactive;
    ASSERT_TRUE(active.Load((resources / (std::string(family) + ".BMP")).string()).loaded);
    ASSERT_TRUE(inactive.Load((resources / (std::string(family) + "I.BMP")).string()).loaded);
    ASSERT_EQ(active.GetWidth(), inactive.GetWidth());
    ASSERT_EQ(active.GetHeight(), inactive.GetHeight());
    // The top-left pixel's index is the see-through one (as sprites take it).
    const std::uint8_t clearA = *active.PixelPtr(0, 0);
    const std::uint8_t clearI = *inactive.PixelPtr(0, 0);
    int drawn = 0;
    int distinct = 0;
    for (int y = 0; y < active.GetHeight(); ++y) {
      for (int x = 0; x < active.GetWidth(); ++x) {
        const std::uint8_t a = *active.PixelPtr(x, y);
        const std::uint8_t i = *inactive.PixelPtr(x, y);
        if (a == clearA && i == clearI) continue;
        ++drawn;
        const bool shapeDiffers = a == clearA || i == clearI;
        distinct += shapeDiffers || std::abs(GreyOf(active, a) - GreyOf(inactive, i)) > 40;
      }
    }
    EXPECT_GE(distinct * 100, drawn * 15) << distinct << " of " << drawn;
  }
}

}  // namespace
}  // namespace mapvine
