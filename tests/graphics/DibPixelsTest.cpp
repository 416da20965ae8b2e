// Plain, transparent, stretched and doubled pixel copies between images.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/CDIB.h"
#include "tests/graphics/DibTestBitmaps.h"

namespace mapvine {
namespace {

constexpr std::uint8_t kBackground = 0xB0;

// Pixel values 0..9 repeat, so a transparent index of 0 hides every tenth.
void MakeSource(CDIB& image, int width, int height) {
  ASSERT_TRUE(image.Create(width, height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) *image.PixelPtr(x, y) = static_cast<std::uint8_t>((x + 3 * y) % 10);
  }
}

void MakeBackground(CDIB& image, int width, int height) {
  ASSERT_TRUE(image.Create(width, height));
  for (std::uint8_t& b : image.Bits()) b = kBackground;
}

std::uint8_t At(const CDIB& image, int x, int y) { return *image.PixelPtr(x, y); }

TEST(DibCopy, OpaqueCopyMovesTheRectangleOnly) {
  CDIB source, dest;
  MakeSource(source, 9, 7);
  MakeBackground(dest, 12, 10);
  source.CopyPixelsTo(dest, 4, 2, 5, 3, 1, 2, kOpaque);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 4 && x < 9 && y >= 2 && y < 5;
      EXPECT_EQ(At(dest, x, y), inside ? At(source, x - 3, y) : kBackground) << x << "," << y;
    }
  }
}

TEST(DibCopy, TransparentIndexLeavesTheDestinationVisible) {
  CDIB source, dest;
  MakeSource(source, 10, 10);
  MakeBackground(dest, 10, 10);
  source.CopyPixelsTo(dest, 0, 0, 10, 10, 0, 0, PaletteIndex(0));
  int kept = 0;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const std::uint8_t s = At(source, x, y);
      EXPECT_EQ(At(dest, x, y), s == 0 ? kBackground : s);
      kept += s == 0;
    }
  }
  EXPECT_EQ(kept, 10);
}

TEST(DibCopy, EmptyRectanglesCopyNothing) {
  CDIB source, dest;
  MakeSource(source, 4, 4);
  MakeBackground(dest, 4, 4);
  source.CopyPixelsTo(dest, 0, 0, 0, 4, 0, 0, kOpaque);
  source.StretchPixelsTo(dest, 0, 0, 4, 0, 0, 0, 4, 4, kOpaque);
  source.StretchPixelsTo(dest, 0, 0, 4, 4, 0, 0, 0, 4, kOpaque);
  source.DoublePixelsTo(dest, 0, 0, 0, 0, 2, 0, kOpaque);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(dest, x, y), kBackground);
  }
}

// What nearest-neighbour scaling must produce at destination (i, k) of the
// rectangle, derived from the definition rather than the implementation.
std::uint8_t ExpectedStretch(const CDIB& source, int xs, int ys, int ws, int hs, int wd, int hd,
                             int i, int k) {
  return At(source, xs + i * ws / wd, ys + k * hs / hd);
}

TEST(DibStretch, EverySizeSamplesTheNearestSourcePixel) {
  const struct {
    int ws, hs, wd, hd;
  } sizes[] = {{10, 10, 20, 20}, {10, 10, 20, 21}, {7, 5, 3, 2},  {3, 3, 7, 5},
               {4, 4, 4, 4},     {5, 2, 10, 3},    {1, 1, 6, 6},  {6, 6, 1, 1}};
  for (const auto& s : sizes) {
    for (std::int32_t transparent : {kOpaque, PaletteIndex(0)}) {
      CDIB source, dest;
      MakeSource(source, 12, 12);
      MakeBackground(dest, 24, 24);
      source.StretchPixelsTo(dest, 2, 1, s.wd, s.hd, 1, 2, s.ws, s.hs, transparent);
      for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
          const int i = x - 2, k = y - 1;
          std::uint8_t expected = kBackground;
          if (i >= 0 && i < s.wd && k >= 0 && k < s.hd) {
            const std::uint8_t sample = ExpectedStretch(source, 1, 2, s.ws, s.hs, s.wd, s.hd, i, k);
            if (transparent == kOpaque || sample != 0) expected = sample;
          }
          ASSERT_EQ(At(dest, x, y), expected)
              << s.ws << "x" << s.hs << " -> " << s.wd << "x" << s.hd << " at " << x << "," << y
              << (transparent == kOpaque ? " opaque" : " transparent");
        }
      }
    }
  }
}

TEST(DibStretch, TenToTwentyEqualsDoubling) {
  for (std::int32_t transparent : {kOpaque, PaletteIndex(0)}) {
    CDIB source, stretched, doubled;
    MakeSource(source, 10, 10);
    MakeBackground(stretched, 20, 20);
    MakeBackground(doubled, 20, 20);
    source.StretchPixelsTo(stretched, 0, 0, 20, 20, 0, 0, 10, 10, transparent);
    source.DoublePixelsTo(doubled, 0, 0, 0, 0, 10, 10, transparent);
    EXPECT_TRUE(stretched.IsSameImage(doubled));
  }
}

// Callers clip; a rectangle reaching outside an image is their bug. Debug
// builds stop on it, release builds refuse to write outside the pixels.
TEST(DibCopyContract, UnclippedRectanglesNeverWriteOutsideThePixels) {
  CDIB source, dest;
  MakeSource(source, 4, 4);
  MakeBackground(dest, 4, 4);
#ifdef NDEBUG
  source.CopyPixelsTo(dest, 2, 2, 3, 3, 0, 0, kOpaque);
  source.CopyPixelsTo(dest, 0, 0, 3, 3, 2, 0, kOpaque);
  source.CopyPixelsTo(dest, -1, 0, 2, 2, 0, 0, kOpaque);
  source.StretchPixelsTo(dest, 0, 0, 5, 4, 0, 0, 4, 4, kOpaque);
  source.DoublePixelsTo(dest, 0, 0, 0, 0, 3, 2, kOpaque);
  for (std::uint8_t b : dest.Bits()) EXPECT_EQ(b, kBackground);
#else
  EXPECT_DEATH(source.CopyPixelsTo(dest, 2, 2, 3, 3, 0, 0, kOpaque), "caller must clip");
  EXPECT_DEATH(source.DoublePixelsTo(dest, 0, 0, 0, 0, 3, 2, kOpaque), "caller must clip");
#endif
}

}  // namespace
}  // namespace mapvine
