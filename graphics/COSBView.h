#pragma once

#include <deque>
#include <memory>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"

namespace mapvine {

// The platform-free half of the scrolling view that shows the off-screen
// picture. Changes only mark rectangles dirty; FlushDirty recomposes exactly
// those (through Render, which the topology view overrides) and presents
// them. The window-system half (presenting a rectangle, the visible area,
// the scroll position and size) is the protected interface at the bottom.
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
  // The document changed: recompose and present everything (unless painting).
  void OnUpdate();

  // The text drawer labels are drawn with; kept across new buffers.
  void SetTextDrawer(SurfaceTextDrawer* drawer);
  SurfaceTextDrawer* GetBufferDC() const { return textDrawer_; }

  CDIBSurface* Surface() const { return surface_.get(); }
  const CDIBPal* Palette() const { return palette_.get(); }
  // Pending dirty rectangles, most recent first.
  const std::deque<Rect>& Dirty() const { return dirty_; }

  bool painting = false;
  bool copyWholeBuffer = false;
  bool skipScrollCheck = false;
  bool incrementalUpdate = true;
  Rect lastClipBox;
  Point lastScroll;

 protected:
  // Copies `area` (buffer coordinates, inside the buffer) of the surface to
  // the same picture coordinates of the window.
  virtual void PresentRect(const CDIBSurface& surface, const CDIBPal* palette, const Rect& area) = 0;
  // The part of the picture the window shows now, in picture coordinates.
  virtual Rect VisibleArea() const = 0;
  virtual Point ScrollPosition() const = 0;
  // The scrollable size changed to the buffer's size.
  virtual void SetScrollSizes(int width, int height) = 0;

 private:
  SurfaceTextDrawer* textDrawer_ = nullptr;  // not owned
  std::unique_ptr<CDIBSurface> surface_;
  std::unique_ptr<CDIBPal> palette_;
  std::deque<Rect> dirty_;
};

}  // namespace mapvine
