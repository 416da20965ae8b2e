#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/Geometry.h"

namespace mapvine {

// Index of the colour-table entry of `image` nearest to `color` (smallest
// squared RGB distance, the lowest index on ties), among its ColorCount
// entries. 0 for an image without a header or colours.
std::uint8_t NearestTableIndex(const CDIB& image, PaletteEntry color);

// A line segment with real-valued ends.
struct Segment {
  double x0, y0, x1, y1;
};

// Liang-Barsky: cuts the segment to [left, right] x [top, bottom]; false when
// nothing of it lies inside.
bool ClipSegment(Segment& s, double left, double top, double right, double bottom);

// Bresenham's walk along a line, a pixel a step: `dx` = |x1 - x0|,
// `dy` = -|y1 - y0|, `sx` and `sy` the directions, `error` dx + dy at the
// start (or the state the walk has at the pixel it starts from).
struct LineWalk {
  long long dx, dy;
  int sx, sy;
  long long error;
  int x, y;

  static LineWalk Between(int x0, int y0, int x1, int y1) {
    const long long dx = std::llabs(static_cast<long long>(x1) - x0);
    const long long dy = -std::llabs(static_cast<long long>(y1) - y0);
    return {dx, dy, x0 < x1 ? 1 : -1, y0 < y1 ? 1 : -1, dx + dy, x0, y0};
  }
  void Step() {
    const long long doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y += sy;
    }
  }
};

namespace linewalk {

// The steps of a walk (0 .. the number of pixels along the main direction)
// whose pen can reach `area`, with a margin across the main direction.
struct StepRange {
  long long first;
  long long last;
};
StepRange StepsNear(const Rect& area, Point start, long long dx, long long ady, int sx, int sy,
                    bool mostlyHorizontal);

}  // namespace linewalk

// Calls `put`(x, y) for each pixel inside `area` of the 2-pixel-wide line
// from `from` to `to` in a `picture`-sized picture (DrawWideLine tells its
// shape). The line is walked as the whole picture walks it, so that a
// partial redraw sets exactly the pixels a full one sets there, and the work
// is bounded by the picture's size however far away the ends lie. `put` may
// be called for pixels just outside `area`, and checks.
template <typename Put>
void ForEachWideLinePixel(const Rect& picture, Point from, Point to, const Rect& area, int dash,
                          Put put) {
  const int width = picture.Width();
  const int height = picture.Height();
  if (width <= 0 || height <= 0 || area.IsEmpty()) return;

  // Ends far outside the picture (a damaged saved file) must not cost a walk
  // over billions of pixels: cut the segment to the picture first, with a
  // margin so that rounding the cut ends loses no visible pixel. A segment
  // that lies inside comes back unchanged.
  Segment s{double(from.x), double(from.y), double(to.x), double(to.y)};
  if (!ClipSegment(s, picture.left - 2.0, picture.top - 2.0, picture.right + 1.0,
                   picture.bottom + 1.0)) {
    return;
  }
  const int x = static_cast<int>(std::lround(s.x0));
  const int y = static_cast<int>(std::lround(s.y0));
  const int xEnd = static_cast<int>(std::lround(s.x1));
  const int yEnd = static_cast<int>(std::lround(s.y1));

  // The second pixel of the pen sits across the main direction.
  LineWalk walk = LineWalk::Between(x, y, xEnd, yEnd);
  const bool mostlyHorizontal = walk.dx >= -walk.dy;
  const linewalk::StepRange steps =
      linewalk::StepsNear(area, {x, y}, walk.dx, -walk.dy, walk.sx, walk.sy, mostlyHorizontal);
  if (steps.first > steps.last) return;
  // The walk steps along the main direction every time, and the steps taken
  // across it by then follow from their number: start where the area
  // begins, in the state the whole walk would have there.
  const long long major = mostlyHorizontal ? walk.dx : -walk.dy;
  const long long minor = mostlyHorizontal ? -walk.dy : walk.dx;
  const long long across = major > 0 ? (2 * steps.first * minor + major) / (2 * major) : 0;
  const long long xSteps = mostlyHorizontal ? steps.first : across;
  const long long ySteps = mostlyHorizontal ? across : steps.first;
  walk.x += static_cast<int>(walk.sx * xSteps);
  walk.y += static_cast<int>(walk.sy * ySteps);
  walk.error += xSteps * walk.dy + ySteps * walk.dx;
  for (long long n = steps.first; n <= steps.last; ++n) {
    // Dashes are counted along the main direction from the unclipped start,
    // which a damaged file may put anywhere an int reaches.
    const long long step = mostlyHorizontal ? std::llabs(static_cast<long long>(walk.x) - from.x)
                                            : std::llabs(static_cast<long long>(walk.y) - from.y);
    if (dash <= 0 || step / dash % 2 == 0) {
      put(walk.x, walk.y);
      if (mostlyHorizontal) {
        put(walk.x, walk.y - 1);
      } else {
        put(walk.x - 1, walk.y);
      }
    }
    if (walk.x == xEnd && walk.y == yEnd) break;
    walk.Step();
  }
}

// Draws a 2-pixel-wide line from `from` to `to` (both ends included) in
// palette index `index` into an 8-bit image. The second pixel column or row
// lies on the side of the lower coordinate, so every pixel stays inside the
// line's rectangle grown by 1. Only pixels inside `clip` and the image are
// written, and the work is bounded by the image's size, however far away the
// ends lie. A `dash` above 0 draws that many steps along the line, leaves
// as many out, and so on from `from`, so a partial redraw keeps the dashes
// where a full one puts them.
void DrawWideLine(CDIB& target, Point from, Point to, std::uint8_t index, const Rect& clip,
                  int dash = 0);

// The same line drawn into `window`, an image showing the part of a
// `picture`-sized picture whose top-left corner is `origin`. `from`, `to`
// and `clip` are picture coordinates. The pixels set are exactly those the
// line sets in a whole-picture image there: the line is walked as it is in
// the whole picture, and only the pixels inside the window are written.
void DrawWideLineInWindow(CDIB& window, Point origin, const Rect& picture, Point from, Point to,
                          std::uint8_t index, const Rect& clip, int dash = 0);

}  // namespace mapvine
