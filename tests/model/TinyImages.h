#pragma once

// Tiny images for saved pictures: they keep a file a few kilobytes long, so
// that every prefix of one can be tried and fuzz seeds mutate quickly.

#include <cstdint>
#include <memory>

#include "model/MapvineDoc.h"

namespace mapvine::testing {

// A width x height image whose pixels tell the image and the place apart.
inline std::unique_ptr<CDIB> TinyImage(int width, int height, int seed) {
  auto image = std::make_unique<CDIB>();
  image->Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      *image->PixelPtr(x, y) = static_cast<std::uint8_t>(seed * 16 + y * width + x + 1);
    }
  }
  return image;
}

// Replaces the image table by an 8 x 8 background (tiled on a 200 x 120
// picture) and ten 4 x 4 icons.
inline void UseTinyImages(CMapvineDoc& doc) {
  doc.ComposeBackground(TinyImage(8, 8, 0), kArrangementChosenInView, 200, 120);
  for (int slot = 1; slot < kStandardImageCount; ++slot) {
    doc.images[slot] = TinyImage(4, 4, slot);
    doc.palettes[slot] = std::make_unique<CDIBPal>();
    doc.palettes[slot]->CreateFromImage(*doc.images[slot]);
  }
  doc.RebuildImages();
}

}  // namespace mapvine::testing
