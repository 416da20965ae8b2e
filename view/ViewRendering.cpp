// What a change of the picture costs the view: noting it, and drawing the
// picture whole when someone wants all of it (printing, --render).
#include "render/ChangeOverlay.h"
#include "view/MapvineView.h"
#include "render/PictureRendering.h"

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
  index_.MarkStale();
  for (const auto& node : doc_.Nodes()) {
    ++totalCount_;
    if (!node->hidden) ++displayedCount_;
  }
  doc_.ShowNodeCount(displayedCount_, totalCount_);
  // Links may have come, gone or changed status: the route follows them.
  UpdateRoute();
  ShowRouteStatus();
}

void CMapvineView::RenderArea(CDIB& window, Point origin, const Rect& area) {
  SurfaceTextDrawer* text = GetBufferDC();
  RenderPictureArea(doc_, index_, text, window, origin, area, markInactiveLinks_);
  DrawChanges(doc_, index_, text, window, origin, area);
  DrawRoute(window, origin, text, area);
  DrawSelection(window, origin, area);
}

std::unique_ptr<CDIBSurface> CMapvineView::RenderWholePicture() {
  if (!HasBuffer()) return nullptr;
  const Rect all = BufferRect();
  auto picture = std::make_unique<CDIBSurface>();
  if (!picture->Create(all.Width(), all.Height(), Palette())) return nullptr;
  RenderArea(*picture, {0, 0}, all);
  return picture;
}

}  // namespace mapvine
