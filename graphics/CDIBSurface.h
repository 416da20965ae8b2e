#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/Geometry.h"

namespace mapvine {

// Draws text into the pixels of an 8-bit image: the text-drawing context of
// the off-screen picture. The front end implements it with a real font;
// tests use a simple fake.
class SurfaceTextDrawer {
 public:
  virtual ~SurfaceTextDrawer() = default;
  // Draws `text` with its top-left corner at `origin`, in the palette index
  // of `target` nearest to `color`, on a transparent background, touching
  // only pixels inside `clip` (which callers keep inside `target`).
  virtual void DrawText(CDIB& target, std::string_view text, Point origin, const Rect& clip,
                        PaletteEntry color) = 0;
};

// The off-screen picture: an 8-bit image that owns its pixels, the palette it
// was created with, and the text drawer through which labels are drawn.
class CDIBSurface : public CDIB {
 public:
  CDIBSurface() = default;

  // A blank width x height surface whose colour table is `palette`'s.
  bool Create(int width, int height, const CDIBPal* palette);

  using CDIB::Load;
  // Loads an image file (the open-file dialog when `path` is empty) and
  // becomes a copy of it at its size.
  DibLoadResult Load(const std::string& path) override;

  // The image remap, then the surface's colour table follows the palette.
  bool RemapToPalette(const CDIBPal& palette) override;
  void SetColorTable(const CDIBPal& palette);

  const CDIBPal& Palette() const { return palette_; }
  SurfaceTextDrawer* TextDrawer() const { return textDrawer_; }
  void SetTextDrawer(SurfaceTextDrawer* drawer) { textDrawer_ = drawer; }

 private:
  CDIBPal palette_;
  SurfaceTextDrawer* textDrawer_ = nullptr;  // not owned
};

}  // namespace mapvine
