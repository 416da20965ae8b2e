// Composing the picture into the off-screen buffer: background, links, then
// the nodes in depth order with their labels.
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::Render(const Rect* clip) {
  displayedCount_ = 0;
  totalCount_ = 0;
  CDIBSurface* buffer = Surface();
  // After a failed new background there is no buffer to draw into.
  if (painting || buffer == nullptr) return;

  // Every pixel operation stays inside the buffer, whatever the document's
  // background or the caller's rectangle say.
  Rect area = buffer->GetRect();
  const CDIB* background = doc_.composedBackground.get();
  if (background != nullptr) area = area.Intersect(background->GetRect());
  if (clip != nullptr) area = area.Intersect(*clip);
  if (background != nullptr && !area.IsEmpty()) {
    background->CopyPixelsTo(*buffer, area.left, area.top, area.Width(), area.Height(), area.left,
                             area.top, kOpaque);
  }

  // A drawn link widens the area, so that the nodes it crosses are drawn
  // again on top of it.
  SurfaceTextDrawer* text = GetBufferDC();
  for (const auto& link : doc_.Links()) link->Draw(*buffer, text, area);

  for (const auto& node : doc_.Nodes()) {
    ++totalCount_;
    node->Draw(*buffer, text, &area);
    if (!node->hidden) ++displayedCount_;
  }
  doc_.ShowNodeCount(displayedCount_, totalCount_);
}

}  // namespace mapvine
