// The route between two chosen nodes: the picture is dimmed and the route's
// links and nodes are drawn again over it, lit; a route over inactive links
// shows them dashed, as broken.
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::SetRouteStart(CNode& node) {
  routeStart_ = &node;
  UpdateRoute();
  RedrawWholePicture();
}

void CMapvineView::SetRouteEnd(CNode& node) {
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
  // Every change of the picture is rendered before it is painted, and the
  // render found the route again; a paint only makes sure its ends are
  // still there. The paint draws the nodes of the index, so the ends are
  // looked for there: on a large picture that is many times quicker than
  // the document's list.
  const bool keepStart = routeStart_ == nullptr || renderer_.Index().Lists(routeStart_);
  const bool keepEnd = routeEnd_ == nullptr || renderer_.Index().Lists(routeEnd_);
  if (!keepStart || !keepEnd) KeepRouteEnds(keepStart, keepEnd);
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

}  // namespace mapvine
