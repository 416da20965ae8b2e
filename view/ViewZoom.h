#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>

#include "graphics/Geometry.h"
#include "view/CommandBindings.h"

namespace mapvine {

// The zoom a picture is shown at in a scrolling window, and the scroll bars
// that go with it: where a picture point shows in the window and back, and
// which part of the picture the window shows. 1 shows the picture at its own
// size; the zoom runs from MinimumZoom (the whole picture fits the window,
// or 100% when it fits already) to kMaxZoom.
class ViewZoom {
 public:
  static constexpr double kMaxZoom = 4.0;

  // `shown` hears every new zoom or scroll position it sets, and whether
  // the zoom or the fitting changed.
  ViewZoom(QAbstractScrollArea& window, std::function<void(bool changed)> shown)
      : window_(window), shown_(std::move(shown)) {}

  double Zoom() const { return zoom_; }
  // Whether the last zoom was Fit to Window (the window's size decides it).
  bool Fitted() const { return fitted_; }
  double MinimumZoom() const;
  // The zoom at which the whole picture just fits the window.
  double FitZoom() const;
  // Zooms keeping the picture point under `anchor` (viewport coordinates)
  // where it is; the viewport's centre when none is given.
  void SetZoom(double zoom, std::optional<QPoint> anchor = std::nullopt);
  void ZoomIn(std::optional<QPoint> anchor = std::nullopt);
  void ZoomOut(std::optional<QPoint> anchor = std::nullopt);
  void FitToWindow();
  // Zoom In, Zoom Out, Actual Size and Fit to Window, which need a picture:
  // `hasPicture` says whether there is one.
  void BindCommands(CommandBindings& commands, std::function<bool()> hasPicture);
  // Back to 100%, the scroll position kept, without a word to `shown`; true
  // when the zoom or the fitting changed.
  bool ResetToOwnSize();

  // The picture's own size; empty without a picture.
  QSize PictureSize() const { return pictureSize_; }
  void SetPictureSize(QSize size);
  // The picture's size at the current zoom, in window pixels.
  QSize ZoomedPictureSize() const;
  // The scroll bars' ranges for the picture at the current zoom.
  void UpdateScrollBars();
  // Grows or shrinks the top-level window so the picture shows without
  // scroll bars, as far as the screen allows; a picture larger than the
  // screen is fitted into it.
  void FitWindowToPicture();
  // The same once the picture has a size the window was not fitted to: a
  // refresh grows the picture while nothing is shown, and the window
  // follows when the picture is shown again.
  void FitWindowToNewPictureSize();

  // The scroll bars' values: where the shown picture starts, zoomed.
  Point ScrollPosition() const;
  // Picture rectangle and point to viewport at the current zoom and scroll.
  QRect ToViewport(const Rect& area) const;
  QPoint ToViewport(Point p) const;
  Point ToPicture(QPoint viewportPos) const;
  // The part of the picture the window shows now.
  Rect VisibleArea() const;

 private:
  QAbstractScrollArea& window_;
  std::function<void(bool changed)> shown_;
  double zoom_ = 1.0;
  bool fitted_ = false;
  QSize pictureSize_;
  // The picture size the window was last fitted to.
  QSize fittedSize_;
};

}  // namespace mapvine
