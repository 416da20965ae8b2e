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
  // During a batch the route is found once, at its end.
  if (InBatch()) return;
  route_.FindIfStale();
  OverlayChanged();
  ShowStatus();
}

void CMapvineView::ClearRoute() {
  if (!route_.Clear()) return;
  OverlayChanged();
  ShowStatus();
}

}  // namespace mapvine
