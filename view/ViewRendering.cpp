// What a change of the picture costs the view: noting it, and drawing the
// picture whole when someone wants all of it (printing, --render).
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::Render(const Rect* clip) {
  displayedCount_ = 0;
  totalCount_ = 0;
  // After a failed new background there is no picture to draw.
  if (InBatch() || !HasBuffer()) return;
  // A whole picture satisfies every pending dirty area, among them the
  // thousands a refresh leaves while it places nodes in a batch.
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
  route_.Find();
  ShowRouteStatus();
}

ViewOverlays CMapvineView::Overlays() const {
  ViewOverlays overlays;
  route_.AddTo(overlays);
  overlays.selected = SelectedNode();
  return overlays;
}

void CMapvineView::RenderArea(CDIB& window, Point origin, const Rect& area) {
  renderer_.DrawArea(window, origin, area, GetBufferDC());
}

std::unique_ptr<CDIBSurface> CMapvineView::RenderWholePicture() {
  if (!HasBuffer()) return nullptr;
  auto picture = std::make_unique<CDIBSurface>();
  if (!picture->Create(BufferRect().Width(), BufferRect().Height(), Palette())) return nullptr;
  RenderArea(*picture, {0, 0}, BufferRect());
  return picture;
}

QImage CMapvineView::PictureImage() {
  if (!HasBuffer()) return {};
  return renderer_.WholePicture(Palette(), BufferRect(), GetBufferDC(), Overlays());
}

}  // namespace mapvine
