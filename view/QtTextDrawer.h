#pragma once

#include <QFont>

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
  // A small, clear sans-serif face (8 points at 96 dots per inch).
  QtTextDrawer();

  void DrawText(CDIB& target, std::string_view text, Point origin, const Rect& clip,
                PaletteEntry color) override;

  // Height of a line of text in pixels.
  int LineHeight() const { return lineHeight_; }

 private:
  struct Mask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> covered;  // 1 where a glyph covers the pixel, row by row
  };
  const Mask& MaskOf(std::string_view text);

  QFont font_;
  int ascent_ = 0;
  int lineHeight_ = 0;
  // Labels are redrawn with every render; rasterising each once keeps a
  // render of thousands of nodes from spending its time in the font engine.
  std::unordered_map<std::string, Mask> masks_;
};

}  // namespace mapvine
