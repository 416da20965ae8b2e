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

namespace {

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

struct StepRange {
  long long first;
  long long last;
};

// Steps n whose coordinate `start + step * n` lies in [low, high].
StepRange StepsWithin(int start, int step, long long low, long long high) {
  if (step > 0) return {low - start, high - start};
  return {start - high, start - low};
}

StepRange StepsNear(const Rect& area, Point start, long long dx, long long ady, int sx, int sy,
                    bool mostlyHorizontal) {
  const long long major = mostlyHorizontal ? dx : ady;
  const long long minor = mostlyHorizontal ? ady : dx;
  // Along: within the area.
  StepRange along = mostlyHorizontal ? StepsWithin(start.x, sx, area.left, area.right - 1)
                                     : StepsWithin(start.y, sy, area.top, area.bottom - 1);
  // Across: up to one pixel past the area's far edge (a wide pen's second
  // pixel lies one before the walk's), and the steps taken across are known
  // to within one of n * minor / major.
  if (minor > 0) {
    const StepRange acrossSteps =
        mostlyHorizontal ? StepsWithin(start.y, sy, area.top, area.bottom)
                         : StepsWithin(start.x, sx, area.left, area.right);
    const long long slack = major / minor + 2;
    along.first = std::max(along.first, acrossSteps.first * major / minor - slack);
    along.last = std::min(along.last, acrossSteps.last * major / minor + slack);
  }
  return {std::max(along.first, 0LL), std::min(along.last, major)};
}

}  // namespace

std::optional<WalkPart> WalkNear(LineWalk whole, const Rect& area) {
  const bool mostlyHorizontal = whole.MostlyHorizontal();
  const StepRange steps = StepsNear(area, {whole.x, whole.y}, whole.dx, -whole.dy, whole.sx,
                                    whole.sy, mostlyHorizontal);
  if (steps.first > steps.last) return std::nullopt;
  // The walk steps along the main direction every time, and the steps taken
  // across it by then follow from their number: start where the area
  // begins, in the state the whole walk would have there.
  const long long major = mostlyHorizontal ? whole.dx : -whole.dy;
  const long long minor = mostlyHorizontal ? -whole.dy : whole.dx;
  const long long across = major > 0 ? (2 * steps.first * minor + major) / (2 * major) : 0;
  const long long xSteps = mostlyHorizontal ? steps.first : across;
  const long long ySteps = mostlyHorizontal ? across : steps.first;
  LineWalk walk = whole;
  walk.x += static_cast<int>(walk.sx * xSteps);
  walk.y += static_cast<int>(walk.sy * ySteps);
  walk.error += xSteps * walk.dy + ySteps * walk.dx;
  return WalkPart{walk, steps.first, steps.last};
}

void DrawWideLine(CDIB& target, Point from, Point to, std::uint8_t index, const Rect& clip,
                  int dash) {
  DrawWideLineInWindow(target, {0, 0}, target.GetRect(), from, to, index, clip, dash);
}

void DrawWideLineInWindow(CDIB& window, Point origin, const Rect& picture, Point from, Point to,
                          std::uint8_t index, const Rect& clip, int dash) {
  if (!window.HasHeader() || window.BitCount() != 8) return;
  const Rect area =
      clip.Intersect(picture).Intersect(window.GetRect().Offset(origin.x, origin.y));
  const PixelWriter pixels(window, origin, area, index);
  ForEachWideLinePixel(picture, from, to, area, dash,
                       [&pixels](int x, int y) { pixels.Put(x, y); });
}

}  // namespace mapvine
