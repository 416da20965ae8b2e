#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graphics/CDIBSurface.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

using fakes::TableEntry;

TEST(SurfaceTest, CreateFillsTheTableFromThePaletteOnly) {
  const CDIBPal ramp = fakes::RampPalette(12);
  CDIBSurface surface;
  ASSERT_TRUE(surface.Create(30, 7, &ramp));
  EXPECT_EQ(surface.RowBytes(), 32);
  EXPECT_EQ(surface.ColorCount(), 12);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(TableEntry(surface, i), i < 12 ? ramp.Entries()[i] : PaletteEntry{}) << i;
  }
  EXPECT_EQ(fakes::CountChanges(surface, 0, {}).outside, 0);
  EXPECT_EQ(surface.Palette().Entries()[5], ramp.Entries()[5]);
}

TEST(SurfaceTest, RemapMovesPixelsAndTableToThePalette) {
  CDIBPal light;
  light.SetEntries({{250, 250, 250, 0}, {5, 5, 5, 0}});
  CDIBSurface surface;
  ASSERT_TRUE(surface.Create(4, 2, &light));
  *surface.PixelPtr(2, 0) = 1;  // the dark one; the rest is light

  // Without a palette to follow, pixels and table stay.
  EXPECT_FALSE(surface.RemapToPalette(CDIBPal{}));
  EXPECT_EQ(TableEntry(surface, 0), light.Entries()[0]);
  EXPECT_EQ(surface.Palette().ColorCount(), 2);

  CDIBPal dark;
  dark.SetEntries({{0, 0, 0, 0}, {255, 255, 255, 0}, {9, 9, 200, 0}});
  ASSERT_TRUE(surface.RemapToPalette(dark));
  EXPECT_EQ(fakes::PixelAt(surface, 2, 0), 0);
  EXPECT_EQ(fakes::PixelAt(surface, 3, 1), 1);
  EXPECT_EQ(surface.ColorCount(), 3);
  EXPECT_EQ(TableEntry(surface, 2), dark.Entries()[2]);
  EXPECT_EQ(TableEntry(surface, 3), PaletteEntry{});
  EXPECT_EQ(surface.Palette().Entries()[2], dark.Entries()[2]);
}

TEST(SurfaceTest, LoadBecomesACopyOfTheFile) {
  const CDIBPal ramp = fakes::RampPalette(256);
  CDIB image;
  fakes::MakeImage(image, 9, 5, 4, &ramp);
  *image.PixelPtr(8, 4) = 77;
  const std::string path = fakes::SaveToTempFile(image, "surface_load.bmp");

  CDIBSurface surface;
  ASSERT_TRUE(surface.Load(path));
  EXPECT_EQ((Rect{0, 0, 9, 5}), surface.GetRect());
  EXPECT_EQ(fakes::PixelAt(surface, 8, 4), 77);
  EXPECT_EQ(fakes::PixelAt(surface, 0, 0), 4);
  EXPECT_EQ(TableEntry(surface, 200), ramp.Entries()[200]);

  // A missing file leaves the surface as it was.
  EXPECT_FALSE(surface.Load(path + ".missing"));
  EXPECT_EQ(surface.GetWidth(), 9);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace mapvine
