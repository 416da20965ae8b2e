#pragma once

#include <QFont>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/CDIBSurface.h"

namespace mapvine {

// Draws labels into the 8-bit picture with a real font: the text is
// rasterised once into a coverage mask, and every pixel the glyphs cover by
// at least half takes the target's palette index nearest to the colour.
// No blending: an 8-bit picture has no colours between the ones it holds.
class QtTextDrawer final : public SurfaceTextDrawer {
 public:
  // In the label font (export/LabelFont.h).
  QtTextDrawer();

  void DrawText(CDIB& target, std::string_view text, Point origin, const Rect& clip,
                PaletteEntry color) override;

  // Height of a line of text in pixels.
  int LineHeight() const { return lineHeight_; }
  // Bytes of coverage the cache holds.
  std::size_t CachedMaskBytes() const { return cachedMaskBytes_; }

 private:
  struct Mask {
    int width = 0;
    int height = 0;
    bool whole = false;                 // all of the text, not only its start
    std::vector<std::uint8_t> covered;  // 1 where a glyph covers the pixel, row by row
  };
  // The text's mask at least shownWidth pixels wide, or all of it when
  // narrower.
  const Mask& MaskOf(std::string_view text, int shownWidth);
  Mask Rasterise(std::string_view text, int shownWidth) const;

  QFont font_;
  int ascent_ = 0;
  int lineHeight_ = 0;
  // Labels are redrawn with every render; rasterising each once keeps a
  // render of thousands of nodes from spending its time in the font engine.
  std::unordered_map<std::string, Mask> masks_;
  std::size_t cachedMaskBytes_ = 0;
};

}  // namespace mapvine
