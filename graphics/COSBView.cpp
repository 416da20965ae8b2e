#include "graphics/COSBView.h"

namespace mapvine {

namespace {

// Beyond this many pending rectangles one full recomposition is cheaper.
constexpr std::size_t kMaxIncrementalRects = 40;

constexpr int kDefaultScrollWidth = 640;
constexpr int kDefaultScrollHeight = 480;

}  // namespace

bool COSBView::CreateBuffer(const CDIB& background, int width, int height,
                            const CDIBPal* palette) {
  hasBuffer_ = false;
  bufferRect_ = {};
  palette_ = std::make_unique<CDIBPal>();
  if (palette != nullptr) {
    palette_->CreateFromImage(background);
    palette_->CopyEntriesFrom(*palette);
  } else if (!palette_->CreateFromImage(background)) {
    palette_.reset();
    return false;
  }

  // Both sizes or none: a width of 0 takes the background's size whatever
  // the height says.
  if (width == 0 || height == 0) {
    width = background.GetWidth();
    height = background.GetHeight();
  }
  if (width <= 0 || height <= 0) return false;
  hasBuffer_ = true;
  bufferRect_ = {0, 0, width, height};
  SetScrollSizes(width, height);
  return true;
}

void COSBView::AddDirty(const Rect& rect) {
  // Only the most recent rectangle is merged with: a drag's stream of
  // overlapping rectangles collapses without searching the list.
  if (!dirty_.empty() && dirty_.front().Intersects(rect)) {
    dirty_.front() = dirty_.front().Union(rect);
    return;
  }
  dirty_.push_front(rect);
}

void COSBView::CopyToScreen(const Rect* rect) {
  if (InBatch() || !hasBuffer_) return;
  // Without a rectangle, the visible part of the picture. What a scroll or
  // a resize uncovers the window system asks for itself.
  const Rect visible = VisibleArea();
  const Rect asked = rect != nullptr ? *rect : visible;
  const Rect drawn = asked.Intersect(visible).Intersect(bufferRect_);
  if (!drawn.IsEmpty()) PresentRect(drawn);
}

void COSBView::FlushDirty() {
  if (InBatch()) {
    dirty_.clear();
    return;
  }
  if (dirty_.size() > kMaxIncrementalRects || !incrementalUpdate) {
    dirty_.clear();
    Render(nullptr);
    CopyToScreen(nullptr);
    return;
  }
  // Taken out first, so that whatever Render reports meanwhile waits for the
  // next flush instead of disturbing this one.
  std::deque<Rect> pending;
  pending.swap(dirty_);
  for (const Rect& r : pending) Render(&r);
  for (const Rect& r : pending) CopyToScreen(&r);
}

void COSBView::OnInitialUpdate() {
  if (hasBuffer_) {
    SetScrollSizes(bufferRect_.Width(), bufferRect_.Height());
  } else {
    SetScrollSizes(kDefaultScrollWidth, kDefaultScrollHeight);
  }
}

void COSBView::OnUpdate() {
  if (InBatch()) return;
  Render(nullptr);
  CopyToScreen(nullptr);
}

void COSBView::SetTextDrawer(SurfaceTextDrawer* drawer) { textDrawer_ = drawer; }

}  // namespace mapvine
