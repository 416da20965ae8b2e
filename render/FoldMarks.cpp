#include "render/FoldMarks.h"

#include "model/CLink.h"
#include "graphics/LineDrawing.h"
#include "graphics/PictureMarks.h"
#include "model/LuFold.h"
#include "render/LuFolding.h"
#include "render/OverlayColors.h"

namespace mapvine {

namespace {

constexpr PaletteEntry kBoxEdgeColor{0, 0, 0, 0};

ChangeMark FoldedChange(const CNode& owner) {
  ChangeMark change = ChangeMark::None;
  for (const CLink* link : owner.links) {
    const CNode* lu = link->endA == &owner ? link->endB : link->endA;
    if (lu == nullptr || lu->hidden || LuOwner(*lu) != &owner) continue;
    change = MorePressing(change, MorePressing(lu->changeMark, link->changeMark));
  }
  return change;
}

void DrawMark(const CNode& owner, int count, SurfaceTextDrawer* text, CDIB& window, Point origin,
              const Rect& area) {
  const Rect box = FoldMarkBox(owner);
  const ChangeMark change = FoldedChange(owner);
  const PaletteEntry edge = change == ChangeMark::None ? kBoxEdgeColor : ChangeMarkColor(change);
  DrawFrame(window, origin, box, box.Width() / 2, NearestTableIndex(window, kFoldMarkColor), area);
  DrawFrame(window, origin, box, change == ChangeMark::None ? 1 : 2, NearestTableIndex(window, edge), area);
  if (text == nullptr) return;
  // Cut to its strip only, as a label is, so that any redraw of it sets the
  // same pixels.
  const Rect shown = window.GetRect().Offset(origin.x, origin.y);
  const Rect strip = FoldMarkArea(owner).Intersect(shown);
  if (strip.IsEmpty()) return;
  const Point at = FoldCountOrigin(owner);
  text->DrawText(window, FoldCountText(count), {at.x - origin.x, at.y - origin.y}, strip.Offset(-origin.x, -origin.y),
                 CNode::kLabelColor);
}

}  // namespace

void DrawFoldMarks(PictureIndex& index, SurfaceTextDrawer* text, CDIB& window, Point origin, const Rect& area) {
  for (const CNode* node : index.NodesNear(area)) {
    if (!node->lusFolded || node->hidden || !FoldMarkArea(*node).Intersects(area)) continue;
    if (const int count = FoldedLuCount(*node); count > 0) DrawMark(*node, count, text, window, origin, area);
  }
}

}  // namespace mapvine
