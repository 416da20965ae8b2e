// The route between two chosen nodes: the picture is dimmed and the route's
// links and nodes are drawn again over it, lit; a route over inactive links
// shows them dashed, as broken.
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::SetRouteStart(CNode& node) {
  route_.SetStart(node);
  ShowNewRoute();
}

void CMapvineView::SetRouteEnd(CNode& node) {
  route_.SetEnd(node);
  ShowNewRoute();
}

void CMapvineView::ShowNewRoute() {
  // The whole redraw finds the route again, as after any change of the
  // picture; only while Render draws nothing is the route found here. On a
  // large picture a search across it costs several milliseconds.
  if (InBatch() || !HasBuffer()) route_.Find();
  RedrawWholePicture();
}

void CMapvineView::ClearRoute() {
  if (route_.Clear()) RedrawWholePicture();
}

void CMapvineView::ShowRouteStatus() {
  if (const auto status = route_.Status()) doc_.ShowStatusText(*status);
}

}  // namespace mapvine
