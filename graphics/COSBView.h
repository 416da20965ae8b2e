#pragma once

#include <deque>
#include <memory>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"

namespace mapvine {

// The platform-free half of the scrolling view that shows the picture.
// Changes only mark rectangles dirty; FlushDirty recomposes exactly those
// (through Render, which the topology view overrides) and presents them.
// The buffer is the picture's extent and palette: its pixels are drawn
// only for the parts the window shows, when it shows them, so a picture of
// any size costs no memory for the parts nobody looks at. The window-system
// half (presenting a rectangle, the visible area, the scroll position and
// size) is the protected interface at the bottom.
class COSBView {
 public:
  COSBView() = default;
  virtual ~COSBView() = default;
  COSBView(const COSBView&) = delete;
  COSBView& operator=(const COSBView&) = delete;

  bool CreateBuffer(const CDIB& background, int width, int height, const CDIBPal* palette);
  void AddDirty(const Rect& rect);
  // Presents `rect` of the buffer, or the visible client area when null.
  void CopyToScreen(const Rect* rect);
  void FlushDirty();
  void ClearDirty() { dirty_.clear(); }

  // Recomposes `rect` of the buffer, or all of it when null.
  virtual void Render(const Rect* rect) { (void)rect; }

  // Scroll sizes from the buffer, 640 x 480 while there is none.
  void OnInitialUpdate();
  // The document changed: recompose and present everything (unless in a
  // batch).
  void OnUpdate();

  // While a batch is under way nothing is recomposed or presented: the
  // picture changes many times over and nobody needs to see each step.
  // Batches nest; the end of the outermost calls BatchFinished, which shows
  // the picture as the batch left it.
  class Batch {
   public:
    explicit Batch(COSBView& view) : view_(view) { ++view_.batchDepth_; }
    ~Batch() {
      if (--view_.batchDepth_ == 0) view_.BatchFinished();
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
  // Pending dirty rectangles, most recent first.
  const std::deque<Rect>& Dirty() const { return dirty_; }

  // Off while a fast drag leaves every move unpresented until its end.
  bool incrementalUpdate = true;

 protected:
  // Shows `area` (picture coordinates, inside the buffer) of the picture at
  // its place in the window.
  virtual void PresentRect(const Rect& area) = 0;
  // The part of the picture the window shows now, in picture coordinates.
  virtual Rect VisibleArea() const = 0;
  // The scrollable size changed to the buffer's size.
  virtual void SetScrollSizes(int width, int height) = 0;
  // The outermost batch ended.
  virtual void BatchFinished() {}

 private:
  SurfaceTextDrawer* textDrawer_ = nullptr;  // not owned
  bool hasBuffer_ = false;
  Rect bufferRect_;
  std::unique_ptr<CDIBPal> palette_;
  std::deque<Rect> dirty_;
  int batchDepth_ = 0;
};

}  // namespace mapvine
