#include "render/OwnSizeOverlays.h"

#include "graphics/LineDrawing.h"
#include "graphics/PictureMarks.h"
#include "render/OverlayColors.h"

namespace mapvine {

namespace {

// The glow around a route's line reaches this far on either side.
constexpr int kGlowReach = 3;
// The frame that marks the route's two ends, inside their icons.
constexpr int kEndFrame = 2;
constexpr int kSelectionFrame = 2;

// A wide band of `index` along the link, for the line to lie on.
void DrawGlow(CDIB& window, Point origin, const Rect& picture, const CLink& link,
              std::uint8_t index, const Rect& area) {
  for (int offset = -kGlowReach; offset <= kGlowReach; ++offset) {
    DrawWideLineInWindow(window, origin, picture, {link.x1 + offset, link.y1},
                         {link.x2 + offset, link.y2}, index, area);
    DrawWideLineInWindow(window, origin, picture, {link.x1, link.y1 + offset},
                         {link.x2, link.y2 + offset}, index, area);
  }
}

}  // namespace

void DrawRouteAtOwnSize(CDIB& window, Point origin, const Rect& picture, SurfaceTextDrawer* text,
                        const Rect& area, const ViewOverlays& overlays) {
  const Route* route = overlays.route;
  if (route == nullptr || route->kind == Route::Kind::None) return;
  StippleArea(window, origin, area, NearestTableIndex(window, kRouteDimColor));
  const std::uint8_t lit = NearestTableIndex(window, kRouteColor);
  for (const CLink* link : route->links) DrawGlow(window, origin, picture, *link, lit, area);
  // A broken route's inactive links are dashed whatever the view setting;
  // its nodes are drawn over the lines.
  for (const CLink* link : route->links) link->DrawLineInWindow(window, origin, picture, area, true);
  for (const CNode* node : route->nodes) node->DrawInWindow(window, origin, text, area);
  for (const CNode* end : {overlays.routeStart, overlays.routeEnd}) {
    if (end != nullptr && !end->hidden) DrawFrame(window, origin, end->GetRect(), kEndFrame, lit, area);
  }
}

void DrawSelectionAtOwnSize(CDIB& window, Point origin, const Rect& area,
                            const ViewOverlays& overlays) {
  const CNode* node = overlays.selected;
  if (node == nullptr || !area.Intersects(node->GetRect())) return;
  const Rect box = node->GetRect();
  DrawFrame(window, origin, box, kSelectionFrame, NearestTableIndex(window, kSelectionOuterColor),
            area);
  DrawFrame(window, origin, box.Inflated(-1, -1), 1,
            NearestTableIndex(window, kSelectionInnerColor), area);
}

}  // namespace mapvine
