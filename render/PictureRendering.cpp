#include "render/PictureRendering.h"

#include "model/LuFold.h"
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
  for (const CLink* link : index.LinksNear(t.area)) {
    if (FoldedAway(*link)) continue;
    link->DrawLineInWindow(t.window, t.origin, picture, t.area, dashInactive);
  }
}

void DrawNodes(PictureIndex& index, SurfaceTextDrawer* text, const Target& t) {
  for (const CNode* node : index.NodesNear(t.area)) {
    if (!FoldedAway(*node)) node->DrawInWindow(t.window, t.origin, text, t.area);
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
  DrawNodes(index, text, t);
}

}  // namespace mapvine
