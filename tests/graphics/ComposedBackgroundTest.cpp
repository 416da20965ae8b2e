#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphics/ComposedBackground.h"

namespace mapvine {
namespace {

// The whole canvas laid out at once with the bitmap copies, as the picture
// was composed before areas were drawn on demand: the pixels every area
// must reproduce.
void LayOutWhole(const CDIB& source, CDIB& canvas, BackgroundArrangement arrangement) {
  const int sw = source.GetWidth(), sh = source.GetHeight();
  const int w = canvas.GetWidth(), h = canvas.GetHeight();
  switch (arrangement) {
    case BackgroundArrangement::Tile:
      for (int x = 0; x < w; x += sw) {
        for (int y = 0; y < h; y += sh) {
          source.CopyPixelsTo(canvas, x, y, std::min(sw, w - x), std::min(sh, h - y), 0, 0,
                              kOpaque);
        }
      }
      break;
    case BackgroundArrangement::Stretch:
      source.StretchPixelsTo(canvas, 0, 0, w, h, 0, 0, sw, sh, kOpaque);
      break;
    case BackgroundArrangement::Centre:
      source.CopyPixelsTo(canvas, sw >= w ? 0 : w / 2 - sw / 2, sh >= h ? 0 : h / 2 - sh / 2,
                          std::min(sw, w), std::min(sh, h), sw >= w ? sw / 2 - w / 2 : 0,
                          sh >= h ? sh / 2 - h / 2 : 0, kOpaque);
      break;
  }
}

TEST(ComposedBackground, EveryAreaHoldsThePixelsOfTheWholeLayout) {
  std::mt19937 random(20);
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution(low, high)(random);
  };
  constexpr std::uint8_t kUntouched = 0xEE;
  for (int round = 0; round < 300; ++round) {
    const auto arrangement = static_cast<BackgroundArrangement>(round % 3);
    CDIB source;
    source.Create(between(1, 40), between(1, 40));
    for (int y = 0; y < source.GetHeight(); ++y) {
      for (int x = 0; x < source.GetWidth(); ++x) {
        *source.PixelPtr(x, y) = static_cast<std::uint8_t>(between(1, 255));
      }
    }
    // Canvases smaller and larger than the source, and exactly twice its
    // size, where a stretch doubles every pixel.
    int width = between(1, 130), height = between(1, 130);
    if (round % 7 == 0) width = 2 * source.GetWidth(), height = 2 * source.GetHeight();
    SCOPED_TRACE(::testing::Message() << "round " << round << ": " << source.GetWidth() << "x"
                                      << source.GetHeight() << " on " << width << "x" << height);
    CDIB whole;
    whole.Create(width, height);
    LayOutWhole(source, whole, arrangement);
    const ComposedBackground background(source, width, height, arrangement);

    for (int area = 0; area < 4; ++area) {
      const Rect asked{between(-10, width), between(-10, height), between(0, width + 10),
                       between(0, height + 10)};
      const Point origin{between(-5, width), between(-5, height)};
      CDIB window;
      window.Create(between(1, 80), between(1, 80));
      for (std::uint8_t& byte : window.Bits()) byte = kUntouched;
      background.DrawArea(window, origin, asked);
      const Rect drawn =
          asked.Intersect(whole.GetRect()).Intersect(window.GetRect().Offset(origin.x, origin.y));
      for (int y = 0; y < window.GetHeight(); ++y) {
        for (int x = 0; x < window.GetWidth(); ++x) {
          const Point at{x + origin.x, y + origin.y};
          const int expected = drawn.Contains(at) ? *whole.PixelPtr(at.x, at.y) : kUntouched;
          ASSERT_EQ(*window.PixelPtr(x, y), expected) << "canvas " << at.x << "," << at.y;
        }
      }
    }

    std::vector<int> columns(between(1, 60));
    for (int& x : columns) x = between(0, width - 1);
    const ComposedBackground::ColumnMap map = background.MapColumns(columns);
    std::vector<std::uint8_t> row(columns.size());
    for (int y : {0, height / 2, height - 1}) {
      background.ReadRow(y, map, row.data());
      for (std::size_t i = 0; i < columns.size(); ++i) {
        ASSERT_EQ(row[i], *whole.PixelPtr(columns[i], y)) << columns[i] << "," << y;
        ASSERT_EQ(background.PixelAt(columns[i], y), row[i]);
      }
    }
    EXPECT_EQ(background.PixelAt(width, 0), 0);
    EXPECT_EQ(background.PixelAt(0, -1), 0);
  }
}

// The background shares the document's source, which keeps its own colours
// when the window brings the background to its palette.
TEST(ComposedBackground, RemappingLeavesTheSharedSourceAlone) {
  CDIB source;
  source.Create(4, 4);  // grey ramp, every pixel black
  *source.PixelPtr(1, 1) = 200;
  CDIB before;
  before.CopyPixels(std::span(source.HeaderBlock(), CDIB::kHeaderBlockSize), source.Bits());
  ComposedBackground background(source, 8, 8, BackgroundArrangement::Tile);
  CDIBPal palette;
  palette.SetEntries({{255, 0, 0, 0}, {200, 200, 200, 0}});
  ASSERT_TRUE(background.RemapToPalette(palette));
  EXPECT_TRUE(source.IsSameImage(before));
  EXPECT_EQ(background.PixelAt(5, 5), 1);
  EXPECT_EQ(background.PixelAt(4, 5), 0);
}

}  // namespace
}  // namespace mapvine
