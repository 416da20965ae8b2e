#include "render/ChangeOverlay.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graphics/LineDrawing.h"
#include "graphics/PictureMarks.h"
#include "model/LuFold.h"
#include "render/OverlayColors.h"

namespace mapvine {
namespace {

constexpr int kDash = 6;
constexpr int kCornerLength = 8;
constexpr int kFrame = 2;

struct Target {
  CDIB& window;
  Point origin;
  Rect picture;
  Rect area;  // picture coordinates, inside the window and the picture
};

void Line(const Target& t, Point from, Point to, std::uint8_t index, int dash = 0) {
  DrawWideLineInWindow(t.window, t.origin, t.picture, from, to, index, t.area, dash);
}

// The four sides of `r` with the 2-pixel pen just inside it, dashed.
void DashedFrame(const Target& t, const Rect& r, std::uint8_t index) {
  const Point corners[] = {{r.left + 1, r.top + 1}, {r.right - 1, r.top + 1},
                           {r.right - 1, r.bottom - 1}, {r.left + 1, r.bottom - 1}};
  for (int side = 0; side < 4; ++side) Line(t, corners[side], corners[(side + 1) % 4], index, kDash);
}

void Corners(const Target& t, const Rect& r, std::uint8_t index) {
  const int reach = std::min({kCornerLength, r.Width() / 2, r.Height() / 2});
  const int left = r.left + 1, top = r.top + 1, right = r.right - 1, bottom = r.bottom - 1;
  for (const Point corner : {Point{left, top}, Point{right, top}, Point{right, bottom}, Point{left, bottom}}) {
    const int dx = corner.x == left ? reach : -reach;
    const int dy = corner.y == top ? reach : -reach;
    Line(t, corner, {corner.x + dx, corner.y}, index);
    Line(t, corner, {corner.x, corner.y + dy}, index);
  }
}

// Every other pixel of `r` (a checkerboard fixed to the picture) takes the
// background's pixel.
void Fade(const Target& t, const ComposedBackground& background, const Rect& r) {
  const Rect inside = r.Intersect(t.area).Intersect(background.GetRect());
  for (int y = inside.top; y < inside.bottom; ++y) {
    std::uint8_t* out = t.window.PixelPtr(0, y - t.origin.y);
    if (out == nullptr) continue;
    for (int x = inside.left + ((inside.left + y + 1) & 1); x < inside.right; x += 2) {
      out[x - t.origin.x] = background.PixelAt(x, y);
    }
  }
}

// Dashes along every marked line; the boxes of those drawn.
std::vector<Rect> DrawLinkMarks(PictureIndex& index, const Target& t) {
  std::vector<Rect> marked;
  for (const CLink* link : index.LinksNear(t.area)) {
    if (link->changeMark == ChangeMark::None && !link->stale) continue;
    if (!link->Shown() || FoldedAway(*link) || !t.area.Intersects(link->bounds)) continue;
    const ChangeMark shown = link->changeMark != ChangeMark::None ? link->changeMark : ChangeMark::Gone;
    Line(t, {link->x1, link->y1}, {link->x2, link->y2}, NearestTableIndex(t.window, ChangeMarkColor(shown)), kDash);
    marked.push_back(link->bounds);
  }
  return marked;
}

void DrawNodeMark(const CMapvineDoc& doc, const Target& t, const CNode& node) {
  const Rect icon = node.GetRect();
  if (!t.area.Intersects(icon)) return;
  if (node.stale && doc.composedBackground) Fade(t, *doc.composedBackground, icon);
  if (node.changeMark == ChangeMark::None) return;
  const std::uint8_t index = NearestTableIndex(t.window, ChangeMarkColor(node.changeMark));
  switch (node.changeMark) {
    case ChangeMark::New:
      DrawFrame(t.window, t.origin, icon, kFrame, index, t.area);
      break;
    case ChangeMark::Gone:
      DashedFrame(t, icon, index);
      break;
    case ChangeMark::WentInactive:
      DrawFrame(t.window, t.origin, icon, kFrame, index, t.area);
      DrawFrame(t.window, t.origin, icon.Inflated(-3, -3), kFrame, index, t.area);
      break;
    default:
      Corners(t, icon, index);
      break;
  }
}

}  // namespace

void DrawChanges(const CMapvineDoc& doc, PictureIndex& index, SurfaceTextDrawer* text, CDIB& window,
                 Point origin, const Rect& area) {
  const Rect picture{0, 0, doc.picture.composedWidth, doc.picture.composedHeight};
  const Target t{window, origin, picture,
                 area.Intersect(picture).Intersect(window.GetRect().Offset(origin.x, origin.y))};
  if (t.area.IsEmpty() || !window.HasHeader() || window.BitCount() != 8) return;
  const std::vector<Rect> marked = DrawLinkMarks(index, t);
  for (const CNode* node : index.NodesNear(t.area)) {
    if (node->hidden || FoldedAway(*node)) continue;
    const Rect icon = node->GetRect();
    const bool overMarkedLine =
        std::any_of(marked.begin(), marked.end(), [&](const Rect& line) { return line.Intersects(icon); });
    if (overMarkedLine) node->DrawInWindow(window, origin, text, t.area);
    if (node->changeMark != ChangeMark::None || node->stale) DrawNodeMark(doc, t, *node);
  }
}

}  // namespace mapvine
