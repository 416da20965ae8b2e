// Palettes: building them, nearest colours, usage counts and merging.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/SystemPalette.h"
#include "tests/graphics/DibTestBitmaps.h"

namespace mapvine {
namespace {

PaletteEntry Grey(int level, std::uint8_t flags = 0) {
  const auto l = static_cast<std::uint8_t>(level);
  return {l, l, l, flags};
}

TEST(PaletteNearest, SmallestSquaredDistanceLowestIndexOnTies) {
  CDIBPal palette;
  EXPECT_EQ(palette.NearestIndex(1, 2, 3), -1);
  palette.SetEntries({{100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 100, 0}, {100, 0, 0, kNoCollapse},
                      {50, 50, 50, 0}});
  const struct {
    std::uint8_t r, g, b;
    int expected;
  } cases[] = {
      {100, 0, 0, 0},   // exact; the same colour again at 3 loses
      {0, 0, 90, 2},
      {50, 50, 0, 4},   // 2500 away, the pure colours 5000
      {50, 50, 50, 4},
      {0, 0, 0, 4},     // 7500 away, the pure colours 10000
      {60, 60, 0, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(palette.NearestIndex(c.r, c.g, c.b), c.expected)
        << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
  // Equidistant from entries 0 and 1, nearer than to any other: 0 wins.
  CDIBPal pair;
  pair.SetEntries({{10, 0, 0, 0}, {0, 10, 0, 0}});
  EXPECT_EQ(pair.NearestIndex(5, 5, 0), 0);
}

TEST(PaletteCreate, FromColorTableSwapsToRedGreenBlue) {
  const std::uint8_t table[] = {1, 2, 3, 9, 4, 5, 6, 9};
  CDIBPal palette;
  EXPECT_FALSE(palette.CreateFromColorTable(table, 0));
  EXPECT_FALSE(palette.CreateFromColorTable(nullptr, 2));
  EXPECT_FALSE(palette.HasPalette());
  ASSERT_TRUE(palette.CreateFromColorTable(table, 2));
  ASSERT_EQ(palette.ColorCount(), 2);
  EXPECT_EQ(palette.Entries()[0], (PaletteEntry{3, 2, 1, 0}));
  EXPECT_EQ(palette.Entries()[1], (PaletteEntry{6, 5, 4, 0}));
}

TEST(PaletteCreate, FromImageTakesItsColorCount) {
  CDIB image;
  ASSERT_TRUE(dibtest::LoadBytes(image, dibtest::EncodeBmp({})));
  CDIBPal palette;
  ASSERT_TRUE(palette.CreateFromImage(image));
  ASSERT_EQ(palette.ColorCount(), 256);
  const dibtest::Rgb c = dibtest::PatternColor(77);
  EXPECT_EQ(palette.Entries()[77], (PaletteEntry{c.red, c.green, c.blue, 0}));

  StoreU32(image.HeaderBlock() + 32, 12);
  ASSERT_TRUE(palette.CreateFromImage(image));
  EXPECT_EQ(palette.ColorCount(), 12);

  // A true-colour image without a table gives no palette.
  std::vector<std::uint8_t> header(image.HeaderBlock(), image.HeaderBlock() + 40);
  StoreU16(header.data() + 14, 24);
  StoreU32(header.data() + 32, 0);
  CDIB trueColor;
  ASSERT_TRUE(trueColor.CopyPixels(header, std::vector<std::uint8_t>(64)));
  EXPECT_FALSE(palette.CreateFromImage(trueColor));
}

TEST(PaletteCube, StaticColoursCubeAndGreys) {
  CDIBPal cube;
  ASSERT_TRUE(cube.CreateColorCube());
  ASSERT_EQ(cube.ColorCount(), 256);
  const auto e = cube.Entries();
  const struct {
    int index;
    PaletteEntry entry;
  } expected[] = {
      {0, {0, 0, 0, 0}},           {1, {128, 0, 0, 0}},         {7, {192, 192, 192, 0}},
      {8, {192, 220, 192, 0}},     {9, {166, 202, 240, 0}},     {10, {0, 0, 0, kNoCollapse}},
      {11, {0, 0, 42, kNoCollapse}}, {16, {0, 42, 0, kNoCollapse}}, {46, {42, 0, 0, kNoCollapse}},
      {225, {212, 212, 212, kNoCollapse}}, {226, Grey(0, kNoCollapse)},
      {227, Grey(12, kNoCollapse)}, {245, Grey(242, kNoCollapse)}, {246, {255, 251, 240, 0}},
      {247, {160, 160, 164, 0}},   {248, {128, 128, 128, 0}},   {249, {255, 0, 0, 0}},
      {255, {255, 255, 255, 0}},
  };
  for (const auto& x : expected) EXPECT_EQ(e[x.index], x.entry) << "entry " << x.index;
  for (int i = 0; i < 256; ++i) {
    if (const auto color = StaticSystemColor(i)) {
      EXPECT_EQ(e[i], *color) << i;
    }
  }
  EXPECT_FALSE(StaticSystemColor(10).has_value());
  EXPECT_FALSE(StaticSystemColor(245).has_value());
}

// An 8-bit image of the given size whose pixels come from `pixel`, with the
// test colour table (all 256 colours distinct).
void MakeImage(CDIB& image, int width, int height, const std::function<std::uint8_t(int, int)>& pixel) {
  ASSERT_TRUE(dibtest::LoadBytes(
      image, dibtest::EncodeBmp({.width = width, .height = height, .pixel = pixel})));
}

TEST(PaletteUsage, CountsPixelsNotPaddingAndFoldsDuplicateColours) {
  CDIB image;
  // Width 5: three padding bytes per row that must not count.
  MakeImage(image, 5, 2, [](int x, int y) { return static_cast<std::uint8_t>(y == 0 ? 3 : x); });
  // Index 4 gets the colour of index 1: its pixels count for the first.
  std::copy_n(image.HeaderBlock() + 40 + 4 * 1, 4, image.HeaderBlock() + 40 + 4 * 4);
  CDIBPal palette;
  ASSERT_TRUE(palette.CreateFromImage(image));
  ASSERT_TRUE(palette.CountColorUsage(image));
  ASSERT_EQ(palette.usageCounts.size(), 256u);
  EXPECT_EQ(palette.usageCounts[0], 1);
  EXPECT_EQ(palette.usageCounts[1], 2);
  EXPECT_EQ(palette.usageCounts[3], 6);
  EXPECT_EQ(palette.usageCounts[4], 0);
  EXPECT_EQ(palette.usageCounts[0xEE], 0);
  int total = 0;
  for (int c : palette.usageCounts) total += c;
  EXPECT_EQ(total, 10);
}

std::vector<PaletteEntry> EntriesOf(const CDIBPal& p) { return {p.Entries().begin(), p.Entries().end()}; }

PaletteEntry PatternEntry(int i) {
  const dibtest::Rgb c = dibtest::PatternColor(i);
  return {c.red, c.green, c.blue, 0};
}

TEST(PaletteMerge, MostUsedFirstAndAtMost235Colours) {
  // 250 used entries: 249 most, then 125..248 (four each), then 0..124
  // (three each); equal counts rank by index.
  CDIB image;
  MakeImage(image, 250, 4, [](int x, int y) {
    return static_cast<std::uint8_t>(y < 3 || x >= 125 ? x : 249);
  });
  CDIBPal source;
  ASSERT_TRUE(source.CreateFromImage(image));
  CDIBPal merged;
  ASSERT_TRUE(merged.CreateColorCube());
  const std::vector<PaletteEntry> cube = EntriesOf(merged);

  CDIBPal* palettes[] = {&source};
  const CDIB* images[] = {&image};
  ASSERT_TRUE(merged.MergePalettes(palettes, images));

  std::vector<int> order = {249};
  for (int i = 125; i <= 248; ++i) order.push_back(i);
  for (int i = 0; i <= 109; ++i) order.push_back(i);
  ASSERT_EQ(order.size(), 235u);
  const std::vector<PaletteEntry> after = EntriesOf(merged);
  for (int k = 0; k < 235; ++k) EXPECT_EQ(after[10 + k], PatternEntry(order[k])) << "slot " << 10 + k;
  for (int i : {0, 5, 9, 245, 246, 255}) EXPECT_EQ(after[i], cube[i]) << "entry " << i;
  EXPECT_EQ(source.usageRanking.size(), 250u);
  EXPECT_EQ(source.usageRanking.front(), 249);
}

TEST(PaletteMerge, ImagesTakeTurnsAndRepeatedColoursAreSkipped) {
  // Image a: colour 1 most, then 2. Image b: colour 1 most, then 3.
  CDIB a, b;
  MakeImage(a, 3, 1, [](int x, int) { return static_cast<std::uint8_t>(x == 2 ? 2 : 1); });
  MakeImage(b, 3, 1, [](int x, int) { return static_cast<std::uint8_t>(x == 2 ? 3 : 1); });
  // Image c: colour 1 again, but marked as needing its own slot.
  CDIB c;
  MakeImage(c, 1, 1, [](int, int) { return std::uint8_t{1}; });
  CDIBPal pa, pb, pc;
  ASSERT_TRUE(pa.CreateFromImage(a));
  ASSERT_TRUE(pb.CreateFromImage(b));
  ASSERT_TRUE(pc.CreateFromImage(c));
  std::vector<PaletteEntry> withFlag = EntriesOf(pc);
  withFlag[1].flags = kNoCollapse;
  pc.SetEntries(withFlag);

  CDIBPal merged;
  ASSERT_TRUE(merged.CreateColorCube());
  const std::vector<PaletteEntry> cube = EntriesOf(merged);
  CDIBPal* palettes[] = {&pa, &pb, &pc};
  const CDIB* images[] = {&a, &b, &c};
  ASSERT_TRUE(merged.MergePalettes(palettes, images));

  PaletteEntry flagged = PatternEntry(1);
  flagged.flags = kNoCollapse;
  const std::vector<PaletteEntry> after = EntriesOf(merged);
  EXPECT_EQ(after[10], PatternEntry(1));
  EXPECT_EQ(after[11], flagged);
  EXPECT_EQ(after[12], PatternEntry(2));
  EXPECT_EQ(after[13], PatternEntry(3));
  EXPECT_EQ(after[14], cube[14]);
}

TEST(PaletteMerge, UnusedColoursAddNothingAndEndAfterOneTurnEach) {
  CDIB a, b;
  MakeImage(a, 2, 2, dibtest::PatternPixel);
  MakeImage(b, 2, 2, dibtest::PatternPixel);
  CDIBPal empty;   // no entries: nothing to count
  CDIBPal unused;  // counted before, and nothing was used
  ASSERT_TRUE(unused.CreateFromImage(b));
  unused.usageCounts.assign(256, 0);

  CDIBPal merged;
  ASSERT_TRUE(merged.CreateColorCube());
  const std::vector<PaletteEntry> cube = EntriesOf(merged);
  CDIBPal* palettes[] = {&empty, &unused};
  const CDIB* images[] = {&a, &b};
  ASSERT_TRUE(merged.MergePalettes(palettes, images));
  EXPECT_EQ(EntriesOf(merged), cube);
  EXPECT_TRUE(unused.usageRanking.empty());
  EXPECT_EQ(empty.mergeCursor, 1);
  EXPECT_EQ(unused.mergeCursor, 1);
}

TEST(PaletteMerge, UsageIsCountedOnceAndReused) {
  CDIB image;
  MakeImage(image, 4, 1, [](int, int) { return std::uint8_t{5}; });
  CDIBPal source;
  ASSERT_TRUE(source.CreateFromImage(image));
  CDIBPal* palettes[] = {&source};
  const CDIB* images[] = {&image};

  CDIBPal first;
  ASSERT_TRUE(first.CreateColorCube());
  ASSERT_TRUE(first.MergePalettes(palettes, images));
  EXPECT_EQ(EntriesOf(first)[10], PatternEntry(5));

  // The image changes, but the cached ranking still speaks for it.
  for (std::uint8_t& b : image.Bits()) b = 6;
  CDIBPal second;
  ASSERT_TRUE(second.CreateColorCube());
  ASSERT_TRUE(second.MergePalettes(palettes, images));
  EXPECT_EQ(EntriesOf(second)[10], PatternEntry(5));

  source.usageCounts.clear();
  source.usageRanking.clear();
  CDIBPal third;
  ASSERT_TRUE(third.CreateColorCube());
  ASSERT_TRUE(third.MergePalettes(palettes, images));
  EXPECT_EQ(EntriesOf(third)[10], PatternEntry(6));
}

TEST(PaletteMerge, ShortPaletteTakesOnlyWhatFits) {
  CDIB image;
  MakeImage(image, 8, 1, [](int x, int) { return static_cast<std::uint8_t>(x); });
  CDIBPal source;
  ASSERT_TRUE(source.CreateFromImage(image));
  CDIBPal merged;
  merged.SetEntries(std::vector<PaletteEntry>(12, Grey(200)));
  CDIBPal* palettes[] = {&source};
  const CDIB* images[] = {&image};
  ASSERT_TRUE(merged.MergePalettes(palettes, images));
  ASSERT_EQ(merged.ColorCount(), 12);
  EXPECT_EQ(EntriesOf(merged)[10], PatternEntry(0));
  EXPECT_EQ(EntriesOf(merged)[11], PatternEntry(1));
}

}  // namespace
}  // namespace mapvine
