// What a change of the picture costs the view: noting it, and drawing the
// picture whole when someone wants all of it (printing, --render).
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::Render(const Rect* clip) {
  displayedCount_ = 0;
  totalCount_ = 0;
  // After a failed new background there is no picture to draw.
  if (painting || !HasBuffer()) return;
  // A whole picture satisfies every pending dirty area, among them the
  // thousands a refresh leaves while it places nodes with painting set.
  if (clip == nullptr) {
    ClearDirty();
    FitWindowToResizedPicture();
  }
  // Nodes and links may have moved, come or gone: the next paint finds
  // them anew. The pixels themselves are drawn when shown.
  renderer_.Index().MarkStale();
  for (const CNode* node : doc_.NodesByArrival()) {
    ++totalCount_;
    if (!node->hidden) ++displayedCount_;
  }
  doc_.ShowNodeCount(displayedCount_, totalCount_);
  // Links may have come, gone or changed status: the route follows them.
  UpdateRoute();
  ShowRouteStatus();
}

ViewOverlays CMapvineView::Overlays() const {
  return {&route_, routeStart_, routeEnd_, SelectedNode()};
}

void CMapvineView::RenderArea(CDIB& window, Point origin, const Rect& area) {
  UpdateRouteToDraw();
  renderer_.DrawArea(window, origin, area, GetBufferDC(), Overlays());
}

std::unique_ptr<CDIBSurface> CMapvineView::RenderWholePicture() {
  if (!HasBuffer()) return nullptr;
  UpdateRouteToDraw();
  return renderer_.WholePicture(Palette(), BufferRect(), GetBufferDC(), Overlays());
}

}  // namespace mapvine
