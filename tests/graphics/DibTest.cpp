// Creating images, addressing their pixels, comparing and replacing them,
// and remapping them to a palette.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/ByteReader.h"
#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "tests/graphics/DibTestBitmaps.h"

namespace mapvine {
namespace {

using dibtest::PatternPixel;

std::array<std::uint8_t, 4> TableEntry(const CDIB& image, int i) {
  const std::uint8_t* e = image.HeaderBlock() + 40 + 4 * i;
  return {e[0], e[1], e[2], e[3]};
}

void FillPattern(CDIB& image) {
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) *image.PixelPtr(x, y) = PatternPixel(x, y);
  }
}

TEST(DibCreate, NewImageIsSixteenSquareGreyRampAllIndexZero) {
  CDIB image;
  ASSERT_TRUE(image.HasHeader());
  EXPECT_EQ(image.GetWidth(), 16);
  EXPECT_EQ(image.GetHeight(), 16);
  EXPECT_EQ(image.RowBytes(), 16);
  EXPECT_EQ(image.BitCount(), 8);
  EXPECT_EQ(image.ColorCount(), 256);
  EXPECT_FALSE(image.Loaded());
  ASSERT_EQ(image.Bits().size(), 256u);
  for (std::uint8_t b : image.Bits()) EXPECT_EQ(b, 0);
  for (int i : {0, 1, 128, 255}) {
    const auto level = static_cast<std::uint8_t>(i);
    EXPECT_EQ(TableEntry(image, i), (std::array<std::uint8_t, 4>{level, level, level, 0}));
  }
  EXPECT_EQ(image.GetRect(), (Rect{0, 0, 16, 16}));
}

TEST(DibCreate, RowsArePaddedToFourBytes) {
  const struct {
    int width;
    int rowBytes;
  } cases[] = {{1, 4}, {3, 4}, {4, 4}, {5, 8}, {13, 16}, {16, 16}, {17, 20}};
  for (const auto& c : cases) {
    CDIB image;
    ASSERT_TRUE(image.Create(c.width, 3));
    EXPECT_EQ(image.RowBytes(), c.rowBytes) << "width " << c.width;
    EXPECT_EQ(image.Bits().size(), static_cast<std::size_t>(c.rowBytes) * 3);
  }
}

TEST(DibCreate, PaletteFillsColorTableAndColorsUsed) {
  CDIBPal palette;
  palette.SetEntries({{10, 20, 30, kNoCollapse}, {200, 100, 50, 0}, {1, 2, 3, 0}});
  CDIB image;
  ASSERT_TRUE(image.Create(7, 2, &palette));
  EXPECT_EQ(TableEntry(image, 0), (std::array<std::uint8_t, 4>{30, 20, 10, 0}));
  EXPECT_EQ(TableEntry(image, 1), (std::array<std::uint8_t, 4>{50, 100, 200, 0}));
  EXPECT_EQ(TableEntry(image, 2), (std::array<std::uint8_t, 4>{3, 2, 1, 0}));
  // The rest of the grey ramp stays.
  EXPECT_EQ(TableEntry(image, 3), (std::array<std::uint8_t, 4>{3, 3, 3, 0}));
  EXPECT_EQ(image.ColorCount(), 3);
}

TEST(DibCreate, ImpossibleSizesAreRefusedAndTheImageKept) {
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{
           {0, 5}, {5, 0}, {-1, 5}, {5, -8}, {32769, 1}, {1, 32769}}) {
    CDIB image;
    ASSERT_TRUE(image.Create(3, 2));
    FillPattern(image);
    EXPECT_FALSE(image.Create(w, h)) << w << " x " << h;
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(*image.PixelPtr(2, 1), PatternPixel(2, 1));
  }
}

TEST(DibPixelPtr, RowsAreStoredBottomUp) {
  CDIB image;
  ASSERT_TRUE(image.Create(13, 5));
  const std::uint8_t* start = image.Bits().data();
  EXPECT_EQ(image.PixelPtr(0, 0), start + 4 * 16);
  EXPECT_EQ(image.PixelPtr(0, 4), start);
  EXPECT_EQ(image.PixelPtr(12, 4), start + 12);
  EXPECT_EQ(image.PixelPtr(3, 1), start + 3 * 16 + 3);
}

TEST(DibPixelPtr, OutsideTheImageIsNull) {
  CDIB image;
  ASSERT_TRUE(image.Create(13, 5));
  EXPECT_EQ(image.PixelPtr(13, 0), nullptr);
  EXPECT_EQ(image.PixelPtr(0, 5), nullptr);
  EXPECT_EQ(image.PixelPtr(-1, 0), nullptr);
  EXPECT_EQ(image.PixelPtr(0, -1), nullptr);
}

TEST(DibIsSameImage, ComparesHeaderFirstColorAndPixels) {
  CDIB a;
  CDIB b;
  ASSERT_TRUE(a.Create(6, 4));
  ASSERT_TRUE(b.Create(6, 4));
  FillPattern(a);
  FillPattern(b);
  EXPECT_TRUE(a.IsSameImage(b));

  *b.PixelPtr(5, 3) ^= 1;
  EXPECT_FALSE(a.IsSameImage(b));
  *b.PixelPtr(5, 3) ^= 1;

  b.HeaderBlock()[40] = 99;  // first colour entry
  EXPECT_FALSE(a.IsSameImage(b));
  b.HeaderBlock()[40] = 0;

  // Only the first colour entry takes part: the document recognises its own
  // images by their header, first colour and pixels.
  b.HeaderBlock()[44] = 99;
  EXPECT_TRUE(a.IsSameImage(b));

  CDIB other;
  ASSERT_TRUE(other.Create(6, 5));
  EXPECT_FALSE(a.IsSameImage(other));
}

TEST(DibReplace, AdoptPixelsTakesHeaderTableAndPixels) {
  CDIB source;
  CDIBPal palette;
  palette.SetEntries({{1, 2, 3, 0}, {4, 5, 6, 0}});
  ASSERT_TRUE(source.Create(5, 3, &palette));
  FillPattern(source);
  const std::span<const std::uint8_t> header(source.HeaderBlock(), 40 + 4 * 2);

  CDIB adopted;
  std::vector<std::uint8_t> bits(source.Bits().begin(), source.Bits().end());
  bits.push_back(0xAB);  // surplus is dropped
  ASSERT_TRUE(adopted.AdoptPixels(header, std::move(bits)));
  EXPECT_TRUE(adopted.IsSameImage(source));
  EXPECT_EQ(adopted.Bits().size(), source.Bits().size());
  EXPECT_EQ(TableEntry(adopted, 1), TableEntry(source, 1));
  // Entries past the described colour count are not copied.
  EXPECT_EQ(TableEntry(adopted, 2), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_FALSE(adopted.Loaded());

  CDIB copied;
  ASSERT_TRUE(copied.CopyPixels(header, source.Bits()));
  EXPECT_TRUE(copied.IsSameImage(source));
  EXPECT_NE(copied.Bits().data(), source.Bits().data());
}

TEST(DibReplace, InconsistentHeadersAndShortPixelsAreRefused) {
  CDIB source;
  ASSERT_TRUE(source.Create(5, 3));
  const std::vector<std::uint8_t> good(source.HeaderBlock(), source.HeaderBlock() + 1064);
  const struct {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  } cases[] = {{"header size", 0, 12},  {"zero width", 4, 0},      {"negative height", 8, 0xFFFFFFFF},
               {"huge width", 4, 40000}, {"depth 64", 14, 64},      {"depth 0", 14, 0}};
  for (const auto& c : cases) {
    std::vector<std::uint8_t> header = good;
    if (c.at == 14) {
      StoreU16(header.data() + c.at, static_cast<std::uint16_t>(c.value));
    } else {
      StoreU32(header.data() + c.at, c.value);
    }
    CDIB target;
    EXPECT_FALSE(target.CopyPixels(header, source.Bits())) << c.what;
    EXPECT_EQ(target.GetWidth(), 16) << c.what;
  }
  CDIB target;
  EXPECT_FALSE(target.CopyPixels(good, source.Bits().first(14)));
  EXPECT_FALSE(target.AdoptPixels(std::span(good).first(39), std::vector<std::uint8_t>(16)));
  // A 256-entry table needs the whole block.
  EXPECT_FALSE(target.CopyPixels(std::span(good).first(1000), source.Bits()));
  // Without a depth cap, a colour count beyond 256 would overrun the block.
  std::vector<std::uint8_t> trueColor = good;
  StoreU16(trueColor.data() + 14, 24);
  StoreU32(trueColor.data() + 32, 300);
  EXPECT_FALSE(target.CopyPixels(trueColor, std::vector<std::uint8_t>(48)));
  StoreU32(trueColor.data() + 32, 256);
  EXPECT_TRUE(target.CopyPixels(trueColor, std::vector<std::uint8_t>(48)));
  ASSERT_TRUE(target.Create(16, 16));
  EXPECT_EQ(target.GetWidth(), 16);
}

TEST(DibStorage, SharedStorageSeesRemapsButNotReplacements) {
  CDIB image;
  ASSERT_TRUE(image.Create(4, 4));
  FillPattern(image);
  CDIB viewer;
  viewer.ShareStorageOf(image);
  ASSERT_TRUE(viewer.SharesStorageWith(image));

  CDIBPal palette;
  palette.SetEntries({{0, 0, 0, 0}, {255, 255, 255, 0}});
  ASSERT_TRUE(viewer.RemapToPalette(palette));
  EXPECT_EQ(image.ColorCount(), 2);
  for (std::uint8_t b : image.Bits()) EXPECT_LE(b, 1);

  ASSERT_TRUE(viewer.Create(8, 8));
  EXPECT_FALSE(viewer.SharesStorageWith(image));
  EXPECT_EQ(image.GetWidth(), 4);
}

// Colour of pixel (x, y) as its colour table says.
dibtest::Rgb ColorAt(const CDIB& image, int x, int y) {
  const std::uint8_t* e = image.HeaderBlock() + 40 + 4 * *image.PixelPtr(x, y);
  return {e[2], e[1], e[0]};
}

int Distance(dibtest::Rgb a, const PaletteEntry& b) {
  const int dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
  return dr * dr + dg * dg + db * db;
}

TEST(DibRemap, EightBitPixelsTakeTheNearestPaletteColour) {
  CDIB image;
  ASSERT_TRUE(dibtest::LoadBytes(image, dibtest::EncodeBmp({.width = 13, .height = 4})));
  CDIB before;
  ASSERT_TRUE(before.CopyPixels({image.HeaderBlock(), 1064}, image.Bits()));

  CDIBPal palette;
  palette.SetEntries({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0},
                      {128, 128, 128, 0}, {255, 255, 255, 0}});
  ASSERT_TRUE(image.RemapToPalette(palette));

  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 13; ++x) {
      const dibtest::Rgb old = ColorAt(before, x, y);
      const std::uint8_t index = *image.PixelPtr(x, y);
      ASSERT_LT(index, 6);
      for (const PaletteEntry& e : palette.Entries()) {
        EXPECT_LE(Distance(old, palette.Entries()[index]), Distance(old, e));
      }
    }
  }
  // Padding bytes are mapped like pixels (0xEE to its nearest entry).
  const std::uint8_t padding = image.Bits()[13];
  EXPECT_EQ(padding, palette.NearestIndex(dibtest::PatternColor(0xEE).red,
                                          dibtest::PatternColor(0xEE).green,
                                          dibtest::PatternColor(0xEE).blue));
  EXPECT_EQ(image.ColorCount(), 6);
  EXPECT_EQ(TableEntry(image, 3), (std::array<std::uint8_t, 4>{255, 0, 0, 0}));
  EXPECT_EQ(TableEntry(image, 6), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(TableEntry(image, 255), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST(DibRemap, RefusesWhatItCannotExpress) {
  CDIB image;
  ASSERT_TRUE(image.Create(4, 2));
  FillPattern(image);
  const std::vector<std::uint8_t> pixels(image.Bits().begin(), image.Bits().end());

  CDIBPal none;
  EXPECT_FALSE(image.RemapToPalette(none));
  CDIBPal tooLarge;
  tooLarge.SetEntries(std::vector<PaletteEntry>(257));
  EXPECT_FALSE(image.RemapToPalette(tooLarge));
  EXPECT_EQ(std::vector<std::uint8_t>(image.Bits().begin(), image.Bits().end()), pixels);
  EXPECT_EQ(image.ColorCount(), 256);

  // A 16-bit image has no table to remap through.
  std::vector<std::uint8_t> header(image.HeaderBlock(), image.HeaderBlock() + 1064);
  StoreU16(header.data() + 14, 16);
  StoreU32(header.data() + 32, 0);
  ASSERT_TRUE(image.CopyPixels(header, std::vector<std::uint8_t>(16, 7)));
  CDIBPal palette;
  palette.SetEntries({{1, 1, 1, 0}});
  EXPECT_FALSE(image.RemapToPalette(palette));
  EXPECT_EQ(image.Bits()[0], 7);
}

}  // namespace
}  // namespace mapvine
