#include "render/PictureRendering.h"

#include "graphics/LineDrawing.h"
#include "render/FoldMarks.h"

namespace mapvine {

namespace {

struct Target {
  CDIB& window;
  Point origin;
  Rect area;  // picture coordinates, inside the window and the picture
};

void DrawBackground(const CMapvineDoc& doc, const Target& t) {
  if (doc.composedBackground) doc.composedBackground->DrawArea(t.window, t.origin, t.area);
}

// Lines are drawn only inside the area: the icons they cross elsewhere keep
// what the picture shows there.
void DrawLinks(const CMapvineDoc& doc, PictureIndex& index, const Target& t, bool dashInactive) {
  const Rect picture{0, 0, doc.picture.composedWidth, doc.picture.composedHeight};
  // The index knows where each line runs, its status, whether it is shown
  // and folded away: a window full of lines visits no link and no end, and
  // looks the two colours up once.
  const ItemLooks& looks = index.Looks();
  const std::uint8_t active = NearestTableIndex(t.window, CLink::kActiveColor);
  const std::uint8_t inactive = NearestTableIndex(t.window, CLink::kInactiveColor);
  const int inactiveDash = dashInactive ? CLink::kDash : 0;
  for (const int id : index.ShownLinksNear(t.area)) {
    const ItemLooks::LinkLook& look = looks.Link(id);
    const Rect bounds = Rect{look.from.x, look.from.y, look.to.x, look.to.y}.Normalized().Inflated(1, 1);
    if (look.foldedAway || !t.area.Intersects(bounds)) continue;
    DrawWideLineInWindow(t.window, t.origin, picture, look.from, look.to, look.active ? active : inactive,
                         t.area, look.active ? 0 : inactiveDash);
  }
}

void DrawNodes(const CMapvineDoc& doc, PictureIndex& index, SurfaceTextDrawer* text,
               const Target& t) {
  const ItemLooks& looks = index.Looks();
  for (const int id : index.ShownNodesNear(t.area)) {
    if (!looks.FoldedAway(id)) DrawNodeInWindow(doc, *looks.Node(id).node, text, t.window, t.origin, t.area);
  }
  DrawFoldMarks(index, text, t.window, t.origin, t.area);
}

}  // namespace

void RenderPictureArea(const CMapvineDoc& doc, PictureIndex& index, SurfaceTextDrawer* text,
                       CDIB& window, Point origin, const Rect& area, bool dashInactive) {
  const Rect picture{0, 0, doc.picture.composedWidth, doc.picture.composedHeight};
  const Target t{window, origin,
                 area.Intersect(picture).Intersect(window.GetRect().Offset(origin.x, origin.y))};
  if (t.area.IsEmpty()) return;
  DrawBackground(doc, t);
  DrawLinks(doc, index, t, dashInactive);
  DrawNodes(doc, index, text, t);
}

void DrawNodeInWindow(const CMapvineDoc& doc, const CNode& node, SurfaceTextDrawer* text,
                      CDIB& window, Point origin, const Rect& clip) {
  node.DrawInWindow(window, origin, text, clip);
  if (!node.stale || node.hidden || !doc.composedBackground) return;
  const ComposedBackground& background = *doc.composedBackground;
  const Rect faded = node.GetRect()
                         .Intersect(clip)
                         .Intersect(window.GetRect().Offset(origin.x, origin.y))
                         .Intersect(background.GetRect());
  for (int y = faded.top; y < faded.bottom; ++y) {
    std::uint8_t* out = window.PixelPtr(0, y - origin.y);
    if (out == nullptr) continue;
    for (int x = faded.left + ((faded.left + y + 1) & 1); x < faded.right; x += 2) {
      out[x - origin.x] = background.PixelAt(x, y);
    }
  }
}

}  // namespace mapvine
