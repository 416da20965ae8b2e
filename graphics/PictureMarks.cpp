#include "graphics/PictureMarks.h"

namespace mapvine {

namespace {

// Fills `area` (already inside the image) with `index` where `keep` says so.
template <typename Keep>
void FillWhere(CDIB& target, const Rect& area, std::uint8_t index, Keep keep) {
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint8_t* row = target.PixelPtr(0, y);
    for (int x = area.left; x < area.right; ++x) {
      if (keep(x, y)) row[x] = index;
    }
  }
}

Rect Drawable(const CDIB& target, const Rect& clip) {
  if (!target.HasHeader() || target.BitCount() != 8) return {};
  return clip.Intersect(target.GetRect());
}

}  // namespace

void StippleArea(CDIB& target, const Rect& clip, std::uint8_t index) {
  const Rect area = Drawable(target, clip);
  if (area.IsEmpty()) return;
  FillWhere(target, area, index, [](int x, int y) { return (x + y) % 2 == 0; });
}

void DrawFrame(CDIB& target, const Rect& box, int thickness, std::uint8_t index,
               const Rect& clip) {
  const Rect area = Drawable(target, clip.Intersect(box));
  if (area.IsEmpty()) return;
  const Rect inner = box.Inflated(-thickness, -thickness);
  FillWhere(target, area, index, [&inner](int x, int y) { return !inner.Contains({x, y}); });
}

}  // namespace mapvine
