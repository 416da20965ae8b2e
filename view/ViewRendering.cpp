// Composing the picture into the off-screen buffer: background, links, then
// the nodes in depth order with their labels.
#include "view/ChangeOverlay.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

// Whether the link's line comes near enough to `area` to change a pixel of
// it. A long diagonal link has bounds that cover much of the picture, while
// its 2-pixel line crosses only a small part of them; deciding by the bounds
// alone would draw most links of a dense picture for every small redraw.
bool LineTouches(const CLink& link, const Rect& area) {
  // The pen reaches a pixel beyond the ideal line on either side.
  const Rect near = area.Inflated(2, 2);
  if (!near.Intersects(link.bounds)) return false;
  // Otherwise the line misses only when every corner of the area lies
  // strictly on one side of it.
  const long long dx = link.x2 - link.x1;
  const long long dy = link.y2 - link.y1;
  bool above = false;
  bool below = false;
  for (const Point corner : {Point{near.left, near.top}, Point{near.right, near.top},
                             Point{near.left, near.bottom}, Point{near.right, near.bottom}}) {
    const long long side = dx * (corner.y - link.y1) - dy * (corner.x - link.x1);
    above = above || side >= 0;
    below = below || side <= 0;
  }
  return above && below;
}

}  // namespace

void CMapvineView::Render(const Rect* clip) {
  displayedCount_ = 0;
  totalCount_ = 0;
  CDIBSurface* buffer = Surface();
  // After a failed new background there is no buffer to draw into.
  if (painting || buffer == nullptr) return;
  // A whole picture satisfies every pending dirty area, among them the
  // thousands a refresh leaves while it places nodes with painting set.
  if (clip == nullptr) {
    ClearDirty();
    ++fullRenderCount_;
    FitWindowToResizedPicture();
  }

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

  // Links are drawn only inside the area, so the nodes they cross outside
  // it keep what the picture shows and need no redraw.
  SurfaceTextDrawer* text = GetBufferDC();
  for (const auto& link : doc_.Links()) {
    if (!LineTouches(*link, area)) continue;
    link->Draw(*buffer, text, area);
    DrawLinkChange(*buffer, *link, area);
  }

  for (const auto& node : doc_.Nodes()) {
    ++totalCount_;
    node->Draw(*buffer, text, &area);
    DrawNodeChange(*buffer, background, *node, area);
    if (!node->hidden) ++displayedCount_;
  }
  doc_.ShowNodeCount(displayedCount_, totalCount_);
}

}  // namespace mapvine
