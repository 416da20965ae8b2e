#include "graphics/PictureMarks.h"

namespace mapvine {

namespace {

// Fills `area` (picture coordinates, already inside the window) with
// `index` where `keep` says so of a picture pixel.
template <typename Keep>
void FillWhere(CDIB& window, Point origin, const Rect& area, std::uint8_t index, Keep keep) {
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint8_t* row = window.PixelPtr(0, y - origin.y);
    for (int x = area.left; x < area.right; ++x) {
      if (keep(x, y)) row[x - origin.x] = index;
    }
  }
}

Rect Drawable(const CDIB& window, Point origin, const Rect& clip) {
  if (!window.HasHeader() || window.BitCount() != 8) return {};
  return clip.Intersect(window.GetRect().Offset(origin.x, origin.y));
}

}  // namespace

void StippleArea(CDIB& window, Point origin, const Rect& clip, std::uint8_t index) {
  const Rect area = Drawable(window, origin, clip);
  if (area.IsEmpty()) return;
  FillWhere(window, origin, area, index, [](int x, int y) { return (x + y) % 2 == 0; });
}

void DrawFrame(CDIB& window, Point origin, const Rect& box, int thickness, std::uint8_t index,
               const Rect& clip) {
  const Rect area = Drawable(window, origin, clip.Intersect(box));
  if (area.IsEmpty()) return;
  const Rect inner = box.Inflated(-thickness, -thickness);
  FillWhere(window, origin, area, index, [&inner](int x, int y) { return !inner.Contains({x, y}); });
}

}  // namespace mapvine
