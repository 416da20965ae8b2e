#include "graphics/LineDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/CDIBLayout.h"

namespace mapvine {

std::uint8_t NearestTableIndex(const CDIB& image, PaletteEntry color) {
  if (!image.HasHeader()) return 0;
  const int count = std::clamp(image.ColorCount(), 0, dib::kMaxColorEntries);
  const std::uint8_t* table = image.HeaderBlock() + dib::kColorTable;
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = table + 4 * i;  // blue, green, red, reserved
    const long db = entry[0] - color.blue;
    const long dg = entry[1] - color.green;
    const long dr = entry[2] - color.red;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

namespace {

struct Segment {
  double x0, y0, x1, y1;
};

// Liang-Barsky: cuts the segment to [left, right] x [top, bottom]; false when
// nothing of it lies inside.
bool ClipSegment(Segment& s, double left, double top, double right, double bottom) {
  const double dx = s.x1 - s.x0;
  const double dy = s.y1 - s.y0;
  double t0 = 0.0;
  double t1 = 1.0;
  auto edge = [&](double p, double q) {
    if (p == 0.0) return q >= 0.0;
    const double r = q / p;
    if (p < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  if (!edge(-dx, s.x0 - left) || !edge(dx, right - s.x0) || !edge(-dy, s.y0 - top) ||
      !edge(dy, bottom - s.y0)) {
    return false;
  }
  s = {s.x0 + t0 * dx, s.y0 + t0 * dy, s.x0 + t1 * dx, s.y0 + t1 * dy};
  return true;
}

// Writes pixels of an 8-bit image inside one rectangle, addressing rows
// directly: a long line touches thousands of pixels per redraw.
class PixelWriter {
 public:
  // `area` is in picture coordinates and lies inside the image placed at
  // `origin` of the picture.
  PixelWriter(CDIB& target, Point origin, const Rect& area, std::uint8_t index)
      : top_(target.PixelPtr(0, 0)),
        down_(-static_cast<std::ptrdiff_t>(target.RowBytes())),
        origin_(origin),
        area_(area),
        index_(index) {}
  void Put(int x, int y) const {
    if (x >= area_.left && x < area_.right && y >= area_.top && y < area_.bottom) {
      top_[(y - origin_.y) * down_ + (x - origin_.x)] = index_;
    }
  }

 private:
  std::uint8_t* top_;  // row 0, the last row in memory
  std::ptrdiff_t down_;
  Point origin_;
  Rect area_;
  std::uint8_t index_;
};

}  // namespace

void DrawWideLine(CDIB& target, Point from, Point to, std::uint8_t index, const Rect& clip) {
  DrawWideLineInWindow(target, {0, 0}, target.GetRect(), from, to, index, clip);
}

void DrawWideLineInWindow(CDIB& window, Point origin, const Rect& picture, Point from, Point to,
                          std::uint8_t index, const Rect& clip) {
  if (!window.HasHeader() || window.BitCount() != 8) return;
  const int width = picture.Width();
  const int height = picture.Height();
  const Rect area =
      clip.Intersect(picture).Intersect(window.GetRect().Offset(origin.x, origin.y));
  if (width <= 0 || height <= 0 || area.IsEmpty()) return;

  // Ends far outside the image (a damaged saved file) must not cost a walk
  // over billions of pixels: cut the segment to the image first, with a
  // margin so that rounding the cut ends loses no visible pixel. A segment
  // that lies inside comes back unchanged.
  Segment s{double(from.x), double(from.y), double(to.x), double(to.y)};
  if (!ClipSegment(s, -2.0, -2.0, width + 1.0, height + 1.0)) return;
  int x = static_cast<int>(std::lround(s.x0));
  int y = static_cast<int>(std::lround(s.y0));
  const int xEnd = static_cast<int>(std::lround(s.x1));
  const int yEnd = static_cast<int>(std::lround(s.y1));

  // Bresenham over the whole visible segment, whatever the clip, so that a
  // partial redraw sets exactly the pixels a full one sets there. The second
  // pixel of the pen sits across the main direction.
  const PixelWriter pixels(window, origin, area, index);
  const int dx = std::abs(xEnd - x);
  const int dy = -std::abs(yEnd - y);
  const int sx = x < xEnd ? 1 : -1;
  const int sy = y < yEnd ? 1 : -1;
  const bool mostlyHorizontal = dx >= -dy;
  int error = dx + dy;
  for (;;) {
    pixels.Put(x, y);
    if (mostlyHorizontal) {
      pixels.Put(x, y - 1);
    } else {
      pixels.Put(x - 1, y);
    }
    if (x == xEnd && y == yEnd) break;
    const int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y += sy;
    }
  }
}

}  // namespace mapvine
