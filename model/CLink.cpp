#include "model/CLink.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/CNode.h"
#include "graphics/LineDrawing.h"

namespace mapvine {

namespace {

// Distance between two points, truncated toward zero.
std::int64_t TruncatedDistance(std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb) {
  const double dx = static_cast<double>(xb - xa);
  const double dy = static_cast<double>(yb - ya);
  return static_cast<std::int64_t>(std::sqrt(dx * dx + dy * dy));
}

// Distance from (x, y) to the segment from (xa, ya) to (xb, yb).
double DistanceToSegment(double x, double y, double xa, double ya, double xb, double yb) {
  const double dx = xb - xa;
  const double dy = yb - ya;
  const double lengthSquared = dx * dx + dy * dy;
  double along = 0;
  if (lengthSquared > 0) {
    along = std::clamp(((x - xa) * dx + (y - ya) * dy) / lengthSquared, 0.0, 1.0);
  }
  return std::hypot(x - (xa + along * dx), y - (ya + along * dy));
}

// The distance test alone lets a long line claim points far to its side (a
// 400-pixel line took clicks 20 pixels away); beyond its tolerance and the
// line's own width a point is not on it, whatever the length.
constexpr int kLineReach = 2;

// The palette index of a line's colour in `image`: green while active, red
// while not.
std::uint8_t LineIndex(const CDIB& image, ResourceStatus status) {
  return NearestTableIndex(image, CLink::ColorOf(status));
}

// The dash step a line is drawn with; 0 for a solid line.
int DashLength(ResourceStatus status, bool dashInactive) {
  return dashInactive && !IsActive(status) ? CLink::kDash : 0;
}

}  // namespace

std::optional<double> CLink::HitDistance(int x, int y) const {
  if (!bounds.Contains({x, y})) return std::nullopt;
  const std::int64_t d1 = TruncatedDistance(x, y, x1, y1);
  const std::int64_t d2 = TruncatedDistance(x, y, x2, y2);
  const std::int64_t length = TruncatedDistance(x1, y1, x2, y2);
  if (d1 + d2 > length + hitTolerance) return std::nullopt;
  const double distance = DistanceToSegment(x, y, x1, y1, x2, y2);
  if (distance > hitTolerance + kLineReach) return std::nullopt;
  return distance;
}

bool CLink::Shown() const {
  // A link whose end is missing (not yet rejoined) counts as hidden.
  return endA != nullptr && endB != nullptr && !endA->hidden && !endB->hidden;
}

void CLink::Draw(CDIB& target, SurfaceTextDrawer* text, const Rect& clip,
                 bool dashInactive) const {
  if (!Shown() || !clip.Intersects(bounds)) return;

  // Line and end icons change only the area being redrawn: outside it the
  // picture already shows them, and a line drawn across icons there would
  // stay on top of them until the next full redraw. So the area needs no
  // widening to redraw the icons a line crosses.
  const Rect area = clip.Intersect(target.GetRect());
  DrawWideLine(target, {x1, y1}, {x2, y2}, LineIndex(target, status), area,
               DashLength(status, dashInactive));
  endA->Draw(target, text, &area);
  endB->Draw(target, text, &area);
}

void CLink::UpdateBounds() { bounds = Rect{x1, y1, x2, y2}.Normalized().Inflated(1, 1); }

void CLink::MoveEndOf(const CNode& node, int dx, int dy) {
  if (endA != &node && endB != &node) return;
  // A link from a node to itself moves both of its ends.
  if (endA == &node) {
    x1 += dx;
    y1 += dy;
  }
  if (endB == &node) {
    x2 += dx;
    y2 += dy;
  }
  UpdateBounds();
}

}  // namespace mapvine
