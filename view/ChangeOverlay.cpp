#include "view/ChangeOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/LineDrawing.h"

namespace mapvine {
namespace {

constexpr int kDash = 6;
constexpr int kCornerLength = 8;

PaletteEntry MarkColor(ChangeMark mark) {
  switch (mark) {
    case ChangeMark::New:
      return {0, 96, 255, 0};
    case ChangeMark::WentInactive:
      return {255, 150, 0, 0};
    case ChangeMark::WentActive:
      return {0, 230, 255, 0};
    default:  // gone, and stale
      return {160, 160, 160, 0};
  }
}

Point Along(Point from, Point to, double t) {
  return {from.x + static_cast<int>(std::lround((to.x - from.x) * t)),
          from.y + static_cast<int>(std::lround((to.y - from.y) * t))};
}

// Every other piece of the line, starting with a drawn one.
void DrawDashed(CDIB& buffer, Point from, Point to, std::uint8_t index, const Rect& area) {
  const double length = std::hypot(double(to.x - from.x), double(to.y - from.y));
  if (length <= kDash) {
    DrawWideLine(buffer, from, to, index, area);
    return;
  }
  // A line far outside the picture must not cost a dash per pixel of it.
  const Rect reach = Rect{from.x, from.y, to.x, to.y}.Normalized().Inflated(2, 2);
  if (!reach.Intersects(area)) return;
  const int pieces = static_cast<int>(length / kDash);
  for (int piece = 0; piece < pieces; piece += 2) {
    const Point start = Along(from, to, double(piece) / pieces);
    const Point end = Along(from, to, double(piece + 1) / pieces);
    DrawWideLine(buffer, start, end, index, area);
  }
}

void DrawFrame(CDIB& buffer, const Rect& r, std::uint8_t index, const Rect& area, bool dashed) {
  // The 2-pixel pen lies on the side of the lower coordinate: inside the
  // rectangle on its right and bottom edges, just in on the others.
  const Point corners[] = {{r.left + 1, r.top + 1}, {r.right - 1, r.top + 1},
                           {r.right - 1, r.bottom - 1}, {r.left + 1, r.bottom - 1}};
  for (int side = 0; side < 4; ++side) {
    const Point from = corners[side];
    const Point to = corners[(side + 1) % 4];
    if (dashed) {
      DrawDashed(buffer, from, to, index, area);
    } else {
      DrawWideLine(buffer, from, to, index, area);
    }
  }
}

void DrawCorners(CDIB& buffer, const Rect& r, std::uint8_t index, const Rect& area) {
  const int reach = std::min({kCornerLength, r.Width() / 2, r.Height() / 2});
  const int left = r.left + 1, top = r.top + 1, right = r.right - 1, bottom = r.bottom - 1;
  for (const Point corner : {Point{left, top}, Point{right, top}, Point{right, bottom}, Point{left, bottom}}) {
    const int dx = corner.x == left ? reach : -reach;
    const int dy = corner.y == top ? reach : -reach;
    DrawWideLine(buffer, corner, {corner.x + dx, corner.y}, index, area);
    DrawWideLine(buffer, corner, {corner.x, corner.y + dy}, index, area);
  }
}

// Every other pixel of `r` (a checkerboard) takes the background's pixel.
void Fade(CDIB& buffer, const CDIB& background, const Rect& r) {
  const Rect inside = r.Intersect(background.GetRect());
  for (int y = inside.top; y < inside.bottom; ++y) {
    std::uint8_t* out = buffer.PixelPtr(0, y);
    const std::uint8_t* in = background.PixelPtr(0, y);
    if (out == nullptr || in == nullptr) continue;
    for (int x = inside.left + ((inside.left + y + 1) & 1); x < inside.right; x += 2) out[x] = in[x];
  }
}

}  // namespace

void DrawLinkChange(CDIB& buffer, const CLink& link, const Rect& area) {
  if (link.changeMark == ChangeMark::None && !link.stale) return;
  if (link.endA == nullptr || link.endB == nullptr || link.endA->hidden || link.endB->hidden) return;
  const Rect clip = area.Intersect(buffer.GetRect());
  if (!clip.Intersects(link.bounds)) return;
  const ChangeMark shown = link.changeMark != ChangeMark::None ? link.changeMark : ChangeMark::Gone;
  DrawDashed(buffer, {link.x1, link.y1}, {link.x2, link.y2}, NearestTableIndex(buffer, MarkColor(shown)),
             clip);
}

void DrawNodeChange(CDIB& buffer, const CDIB* background, const CSprite& node, const Rect& area) {
  if (node.hidden || (node.changeMark == ChangeMark::None && !node.stale)) return;
  const Rect icon = node.GetRect();
  const Rect clip = area.Intersect(buffer.GetRect());
  if (!clip.Intersects(icon)) return;
  if (node.stale && background != nullptr) Fade(buffer, *background, icon.Intersect(clip));
  if (node.changeMark == ChangeMark::None) return;
  const std::uint8_t index = NearestTableIndex(buffer, MarkColor(node.changeMark));
  switch (node.changeMark) {
    case ChangeMark::New:
      DrawFrame(buffer, icon, index, clip, false);
      break;
    case ChangeMark::Gone:
      DrawFrame(buffer, icon, index, clip, true);
      break;
    case ChangeMark::WentInactive:
      DrawFrame(buffer, icon, index, clip, false);
      DrawFrame(buffer, icon.Inflated(-3, -3), index, clip, false);
      break;
    default:
      DrawCorners(buffer, icon, index, clip);
      break;
  }
}

}  // namespace mapvine
