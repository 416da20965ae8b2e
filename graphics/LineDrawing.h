#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

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
  bool MostlyHorizontal() const { return dx >= -dy; }
};

// The part of a walk that can reach an area: `walk` in the state the whole
// walk has at step `first` (steps counted from its start, one per pixel
// along the main direction), up to step `last`. A point one past the area's
// far edge across the main direction counts as near: a pen reaching one
// pixel back from it still writes inside.
struct WalkPart {
  LineWalk walk;
  long long first;
  long long last;
};

// Where the walk `whole` (at its start) comes near `area`; nullopt when it
// never does. The walk skips what lies outside in constant time, so a long
// line costs only the pixels it has inside the area.
std::optional<WalkPart> WalkNear(LineWalk whole, const Rect& area);

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
  const std::optional<WalkPart> part = WalkNear(LineWalk::Between(x, y, xEnd, yEnd), area);
  if (!part) return;
  LineWalk walk = part->walk;
  const bool mostlyHorizontal = walk.MostlyHorizontal();
  for (long long n = part->first; n <= part->last; ++n) {
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
