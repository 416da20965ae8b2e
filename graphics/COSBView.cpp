#include "graphics/COSBView.h"

#include <utility>

namespace mapvine {

namespace {

// Beyond this many changed areas in a batch the whole window is exposed:
// joining ever more areas into the window's region costs more than drawing.
constexpr std::size_t kMaxExposedAreas = 1024;

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

void COSBView::PictureChanged(const Rect& area) {
  PictureAreaChanged(area);
  OverlayChanged(area);
}

void COSBView::PictureChanged() {
  if (InBatch()) {
    wholeChanged_ = true;
    return;
  }
  WholePictureChanged();
  ExposeVisible();
}

void COSBView::OverlayChanged(const Rect& area) {
  if (!InBatch()) return Expose(area);
  // A batch that already shows everything at its end needs no list.
  if (wholeChanged_ || exposeAll_) return;
  if (dirty_.size() == kMaxExposedAreas) {
    dirty_.clear();
    exposeAll_ = true;
    return;
  }
  // Only the most recent area is merged with: a drag's stream of
  // overlapping areas collapses without searching the list.
  if (!dirty_.empty() && dirty_.front().Intersects(area)) {
    dirty_.front() = dirty_.front().Union(area);
    return;
  }
  dirty_.push_front(area);
}

void COSBView::OverlayChanged() {
  if (InBatch()) {
    exposeAll_ = true;
    return;
  }
  ExposeVisible();
}

void COSBView::Expose(const Rect& area) {
  if (!hasBuffer_) return;
  // What a scroll or a resize uncovers the window system asks for itself.
  const Rect shown = area.Intersect(VisibleArea()).Intersect(bufferRect_);
  if (!shown.IsEmpty()) ExposeArea(shown);
}

void COSBView::ExposeVisible() { Expose(VisibleArea()); }

void COSBView::EndBatch() {
  std::deque<Rect> changed;
  changed.swap(dirty_);
  const bool whole = std::exchange(wholeChanged_, false);
  const bool all = std::exchange(exposeAll_, false);
  if (whole) WholePictureChanged();
  if (whole || all) {
    ExposeVisible();
  } else {
    for (const Rect& r : changed) Expose(r);
  }
  BatchFinished();
}

void COSBView::OnInitialUpdate() {
  if (hasBuffer_) {
    SetScrollSizes(bufferRect_.Width(), bufferRect_.Height());
  } else {
    SetScrollSizes(kDefaultScrollWidth, kDefaultScrollHeight);
  }
}

void COSBView::SetTextDrawer(SurfaceTextDrawer* drawer) { textDrawer_ = drawer; }

}  // namespace mapvine
