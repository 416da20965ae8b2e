// The route between two chosen nodes: the picture is dimmed and the route's
// links and nodes are drawn again over it, lit; a route over inactive links
// shows them dashed, as broken.
#include "graphics/LineDrawing.h"
#include "graphics/PictureMarks.h"
#include "view/MapvineView.h"
#include "render/OverlayColors.h"

namespace mapvine {

namespace {

// The glow around a route's line reaches this far on either side.
constexpr int kGlowReach = 3;
// The frame that marks the route's two ends, inside their icons.
constexpr int kEndFrame = 2;

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

void CMapvineView::SetRouteStart(CSprite& node) {
  routeStart_ = &node;
  UpdateRoute();
  RedrawWholePicture();
}

void CMapvineView::SetRouteEnd(CSprite& node) {
  routeEnd_ = &node;
  UpdateRoute();
  RedrawWholePicture();
}

void CMapvineView::ClearRoute() {
  const bool shown = route_.kind != Route::Kind::None || routeStart_ != nullptr ||
                     routeEnd_ != nullptr;
  routeStart_ = nullptr;
  routeEnd_ = nullptr;
  route_ = Route{};
  if (shown) RedrawWholePicture();
}

void CMapvineView::UpdateRoute() {
  KeepRouteEnds(InDocument(routeStart_), InDocument(routeEnd_));
}

void CMapvineView::UpdateRouteToDraw() {
  if (routeStart_ == nullptr && routeEnd_ == nullptr) return;
  // Links may have come, gone or changed status since the last drawing. The
  // paint draws the nodes of the index, so the ends are looked for there:
  // on a large picture that is many times quicker than the document's list.
  KeepRouteEnds(index_.Lists(routeStart_), index_.Lists(routeEnd_));
}

void CMapvineView::KeepRouteEnds(bool keepStart, bool keepEnd) {
  if (!keepStart) routeStart_ = nullptr;
  if (!keepEnd) routeEnd_ = nullptr;
  route_ = routeStart_ != nullptr && routeEnd_ != nullptr ? FindRoute(*routeStart_, *routeEnd_)
                                                          : Route{};
}

void CMapvineView::ShowRouteStatus() {
  if (routeStart_ != nullptr && routeEnd_ != nullptr) {
    doc_.ShowStatusText(RouteSummary(route_, *routeStart_, *routeEnd_));
  } else if (routeStart_ != nullptr) {
    doc_.ShowStatusText("Route from " + routeStart_->label + ": choose its end (Route To Here)");
  } else if (routeEnd_ != nullptr) {
    doc_.ShowStatusText("Route to " + routeEnd_->label + ": choose its start (Route From Here)");
  }
}

void CMapvineView::DrawRoute(CDIB& window, Point origin, SurfaceTextDrawer* text,
                             const Rect& area) {
  UpdateRouteToDraw();
  if (route_.kind == Route::Kind::None) return;
  const Rect picture = BufferRect();
  StippleArea(window, origin, area, NearestTableIndex(window, kRouteDimColor));
  const std::uint8_t lit = NearestTableIndex(window, kRouteColor);
  for (const CLink* link : route_.links) DrawGlow(window, origin, picture, *link, lit, area);
  // A broken route's inactive links are dashed whatever the view setting;
  // its nodes are drawn over the lines.
  for (const CLink* link : route_.links) link->DrawLineInWindow(window, origin, picture, area, true);
  for (const CSprite* node : route_.nodes) node->DrawInWindow(window, origin, text, area);
  for (const CSprite* end : {routeStart_, routeEnd_}) {
    if (!end->hidden) DrawFrame(window, origin, end->GetRect(), kEndFrame, lit, area);
  }
}

}  // namespace mapvine
