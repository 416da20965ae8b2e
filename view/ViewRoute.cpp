// The route between two chosen nodes: the picture is dimmed and the route's
// links and nodes are drawn again over it, lit; a route over inactive links
// shows them dashed, as broken.
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::SetRouteStart(CSprite& node) {
  route_.SetStart(node);
  RedrawWholePicture();
}

void CMapvineView::SetRouteEnd(CSprite& node) {
  route_.SetEnd(node);
  RedrawWholePicture();
}

void CMapvineView::ClearRoute() {
  if (route_.Clear()) RedrawWholePicture();
}

void CMapvineView::ShowRouteStatus() {
  if (const auto status = route_.Status()) doc_.ShowStatusText(*status);
}

}  // namespace mapvine
