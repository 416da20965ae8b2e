#pragma once

#include <cstdint>

#include "graphics/CDIB.h"
#include "graphics/Geometry.h"

namespace mapvine {

// Marks drawn over a composed 8-bit picture held in `window`, an image
// showing the picture from `origin` on. Boxes and clips are picture
// coordinates; each mark writes only inside `clip` and the window.

// Sets every other pixel of `clip`, in a checkerboard fixed to the picture,
// to `index`: the picture shows through, dimmed, and a partial redraw lines
// up with a full one.
void StippleArea(CDIB& window, Point origin, const Rect& clip, std::uint8_t index);

// A frame `thickness` pixels wide along the inside of `box`: it stays within
// what a redraw of the box covers.
void DrawFrame(CDIB& window, Point origin, const Rect& box, int thickness, std::uint8_t index,
               const Rect& clip);

}  // namespace mapvine
