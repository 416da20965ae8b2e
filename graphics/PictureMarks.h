#pragma once

#include <cstdint>

#include "graphics/CDIB.h"
#include "graphics/Geometry.h"

namespace mapvine {

// Marks drawn over a composed 8-bit picture. Each writes only inside `clip`
// and the image.

// Sets every other pixel of `clip`, in a checkerboard fixed to the picture,
// to `index`: the picture shows through, dimmed, and a partial redraw lines
// up with a full one.
void StippleArea(CDIB& target, const Rect& clip, std::uint8_t index);

// A frame `thickness` pixels wide along the inside of `box`: it stays within
// what a redraw of the box covers.
void DrawFrame(CDIB& target, const Rect& box, int thickness, std::uint8_t index,
               const Rect& clip);

}  // namespace mapvine
