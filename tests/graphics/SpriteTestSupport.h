#pragma once

// Fakes and image builders shared by the surface, view, sprite and link tests.

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ByteSink.h"

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/COSBView.h"
#include "graphics/CSprite.h"

namespace mapvine::fakes {

// A width x height image whose every pixel is `fill`, with the given colour
// table (grey ramp when none).
inline void MakeImage(CDIB& image, int width, int height, std::uint8_t fill,
                      const CDIBPal* palette = nullptr) {
  image.Create(width, height, palette);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) *image.PixelPtr(x, y) = fill;
  }
}

inline std::uint8_t PixelAt(const CDIB& image, int x, int y) { return *image.PixelPtr(x, y); }

inline PaletteEntry TableEntry(const CDIB& image, int i) {
  const std::uint8_t* e = image.HeaderBlock() + CDIB::kInfoHeaderSize + 4 * i;
  return {e[2], e[1], e[0], e[3]};
}

// Saves `image` as a BMP file in the test's temporary folder; its path.
inline std::string SaveToTempFile(const CDIB& image, const std::string& name) {
  VectorSink sink;
  EXPECT_TRUE(image.Save(sink));
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(sink.Bytes().data()),
             static_cast<std::streamsize>(sink.Bytes().size()));
  return path;
}

// Pixels of `image` that differ from `fill`, counted inside and outside `area`.
struct Changes {
  int inside = 0;
  int outside = 0;
};
inline Changes CountChanges(const CDIB& image, std::uint8_t fill, const Rect& area) {
  Changes c;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (PixelAt(image, x, y) == fill) continue;
      (area.Contains({x, y}) ? c.inside : c.outside)++;
    }
  }
  return c;
}

// Records every label and paints one pixel at its origin (when inside the
// clip), so a test can see both the call and its effect on the picture.
class RecordingTextDrawer final : public SurfaceTextDrawer {
 public:
  struct Call {
    std::string text;
    Point origin;
    Rect clip;
    PaletteEntry color;
  };
  void DrawText(CDIB& target, std::string_view text, Point origin, const Rect& clip,
                PaletteEntry color) override {
    calls.push_back({std::string(text), origin, clip, color});
    if (clip.Contains(origin)) *target.PixelPtr(origin.x, origin.y) = kInk;
  }
  static constexpr std::uint8_t kInk = 250;
  std::vector<Call> calls;
};

// The window half of the view: records what changed and was exposed.
class FakeView final : public COSBView {
 public:
  std::vector<Rect> changedAreas;
  int wholeChanges = 0;
  std::vector<Rect> presented;
  Rect visible{0, 0, 100, 100};
  std::optional<Point> scrollSizes;
  int batchesFinished = 0;

 protected:
  void ExposeArea(const Rect& area) override { presented.push_back(area); }
  Rect VisibleArea() const override { return visible; }
  void SetScrollSizes(int width, int height) override { scrollSizes = Point{width, height}; }
  void PictureAreaChanged(const Rect& area) override { changedAreas.push_back(area); }
  void WholePictureChanged() override { ++wholeChanges; }
  void BatchFinished() override { ++batchesFinished; }
};

// A palette of `n` entries where entry i is (i, 255 - i, i / 2).
inline CDIBPal RampPalette(int n) {
  std::vector<PaletteEntry> entries;
  for (int i = 0; i < n; ++i) {
    entries.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                       static_cast<std::uint8_t>(i / 2), 0});
  }
  CDIBPal palette;
  palette.SetEntries(std::move(entries));
  return palette;
}

}  // namespace mapvine::fakes
