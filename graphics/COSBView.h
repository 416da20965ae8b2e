#pragma once

#include <deque>
#include <memory>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"

namespace mapvine {

// The platform-free half of the scrolling view that shows the picture.
// Whoever changes something says so with one of two verbs: the picture
// changed (in an area, or all over), or only what is drawn over it changed.
// The view then exposes the changed part of the window, whose next paint
// draws it anew. The buffer is the picture's extent and palette: its pixels
// are drawn only for the parts the window shows, when it shows them, so a
// picture of any size costs no memory for the parts nobody looks at. The
// window-system half (exposing an area, the visible area, the scroll size)
// is the protected interface at the bottom.
class COSBView {
 public:
  COSBView() = default;
  virtual ~COSBView() = default;
  COSBView(const COSBView&) = delete;
  COSBView& operator=(const COSBView&) = delete;

  bool CreateBuffer(const CDIB& background, int width, int height, const CDIBPal* palette);

  // The picture itself (background, links, nodes) changed in `area`, or
  // all over: nodes came, went, moved or changed how they look.
  void PictureChanged(const Rect& area);
  void PictureChanged();
  // Only what is drawn over the picture (the selection, a change mark, the
  // route) changed in `area`, or all over: the picture's nodes and links
  // stay where they were.
  void OverlayChanged(const Rect& area);
  void OverlayChanged();

  // Scroll sizes from the buffer, 640 x 480 while there is none.
  void OnInitialUpdate();

  // While a batch is under way nothing is shown: the picture changes many
  // times over and nobody needs to see each step. The changes are noted and
  // the end of the outermost batch shows them: the areas that changed, or
  // the whole window when the picture changed all over.
  class Batch {
   public:
    explicit Batch(COSBView& view) : view_(view) { ++view_.batchDepth_; }
    ~Batch() {
      if (--view_.batchDepth_ == 0) view_.EndBatch();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    COSBView& view_;
  };
  bool InBatch() const { return batchDepth_ > 0; }

  // The text drawer labels are drawn with; kept across new buffers.
  void SetTextDrawer(SurfaceTextDrawer* drawer);
  SurfaceTextDrawer* GetBufferDC() const { return textDrawer_; }

  // Whether there is a picture to show: none before the first background
  // and after a failed one.
  bool HasBuffer() const { return hasBuffer_; }
  // The picture's extent, (0, 0, width, height); empty without a buffer.
  Rect BufferRect() const { return bufferRect_; }
  const CDIBPal* Palette() const { return palette_.get(); }
  // The areas the batch under way changed, most recent first.
  const std::deque<Rect>& Dirty() const { return dirty_; }
  // Whether the batch under way changed the picture all over.
  bool WholeChangePending() const { return wholeChanged_; }

 protected:
  // Exposes `area` (picture coordinates, inside the buffer) of the window
  // for its next paint.
  virtual void ExposeArea(const Rect& area) = 0;
  // The part of the picture the window shows now, in picture coordinates.
  virtual Rect VisibleArea() const = 0;
  // The scrollable size changed to the buffer's size.
  virtual void SetScrollSizes(int width, int height) = 0;
  // The picture changed in an area: what the view keeps about where nodes
  // and links lie goes stale. Called at once, batch or not.
  virtual void PictureAreaChanged(const Rect& area) { (void)area; }
  // The picture changed all over: called at once outside a batch, and at
  // the end of the batch in which it happened, before anything is shown.
  virtual void WholePictureChanged() {}
  // The outermost batch ended and its changes were exposed.
  virtual void BatchFinished() {}

 private:
  void Expose(const Rect& area);
  void ExposeVisible();
  void EndBatch();

  SurfaceTextDrawer* textDrawer_ = nullptr;  // not owned
  bool hasBuffer_ = false;
  Rect bufferRect_;
  std::unique_ptr<CDIBPal> palette_;
  std::deque<Rect> dirty_;
  bool wholeChanged_ = false;
  // The batch under way changed what lies over the whole picture.
  bool exposeAll_ = false;
  int batchDepth_ = 0;
};

}  // namespace mapvine
