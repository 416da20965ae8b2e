#include "view/ViewZoom.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "render/PictureRenderer.h"
#include "view/CommandIds.h"

namespace mapvine {

namespace {

// Each Zoom In or Out step changes the zoom by this factor.
constexpr double kZoomStep = 1.25;
// A scroll step by arrow key or wheel click: a tenth of the page.
constexpr int kLineStepsPerPage = 10;

void SetUpScrollBar(QScrollBar& bar, int content, int page) {
  bar.setRange(0, std::max(0, content - page));
  bar.setPageStep(page);
  bar.setSingleStep(std::max(1, page / kLineStepsPerPage));
}

}  // namespace

double ViewZoom::FitZoom() const {
  if (pictureSize_.isEmpty()) return 1.0;
  const QSize room = window_.maximumViewportSize();
  const double fit = std::min(double(room.width()) / pictureSize_.width(),
                              double(room.height()) / pictureSize_.height());
  return std::clamp(fit, 1e-4, kMaxZoom);
}

double ViewZoom::MinimumZoom() const { return std::min(FitZoom(), 1.0); }

void ViewZoom::SetZoom(double zoom, std::optional<QPoint> anchor) {
  zoom = std::clamp(zoom, MinimumZoom(), kMaxZoom);
  const bool changed = zoom != zoom_;
  fitted_ = false;
  const QWidget& viewport = *window_.viewport();
  const QPoint at = anchor.value_or(QPoint(viewport.width() / 2, viewport.height() / 2));
  // The picture point under the anchor stays under it.
  const Point scroll = ScrollPosition();
  const double pictureX = (at.x() + scroll.x) / zoom_;
  const double pictureY = (at.y() + scroll.y) / zoom_;
  zoom_ = zoom;
  UpdateScrollBars();
  window_.horizontalScrollBar()->setValue(static_cast<int>(std::lround(pictureX * zoom_)) - at.x());
  window_.verticalScrollBar()->setValue(static_cast<int>(std::lround(pictureY * zoom_)) - at.y());
  shown_(changed);
}

void ViewZoom::ZoomIn(std::optional<QPoint> anchor) {
  double zoom = zoom_ * kZoomStep;
  // Actual size is a stop on the way in and out.
  if (zoom_ < 1.0 && zoom > 1.0) zoom = 1.0;
  SetZoom(zoom, anchor);
}

void ViewZoom::ZoomOut(std::optional<QPoint> anchor) {
  double zoom = zoom_ / kZoomStep;
  if (zoom_ > 1.0 && zoom < 1.0) zoom = 1.0;
  SetZoom(zoom, anchor);
}

void ViewZoom::FitToWindow() {
  zoom_ = FitZoom();
  fitted_ = true;
  UpdateScrollBars();
  window_.horizontalScrollBar()->setValue(0);
  window_.verticalScrollBar()->setValue(0);
  shown_(true);
}

void ViewZoom::BindCommands(CommandBindings& commands, std::function<bool()> hasPicture) {
  commands.Bind(command::kZoomIn, [this] { ZoomIn(); }, [this, hasPicture] {
    return CommandState{.enabled = hasPicture() && Zoom() < kMaxZoom, .checked = false};
  });
  commands.Bind(command::kZoomOut, [this] { ZoomOut(); }, [this, hasPicture] {
    return CommandState{.enabled = hasPicture() && Zoom() > MinimumZoom(), .checked = false};
  });
  commands.Bind(command::kActualSize, [this] { SetZoom(1.0); },
                [this, hasPicture] { return CommandState{.enabled = hasPicture(), .checked = Zoom() == 1.0}; });
  commands.Bind(command::kFitToWindow, [this] { FitToWindow(); },
                [this, hasPicture] { return CommandState{.enabled = hasPicture(), .checked = Fitted()}; });
}

bool ViewZoom::ResetToOwnSize() {
  if (zoom_ == 1.0 && !fitted_) return false;
  fitted_ = false;
  zoom_ = 1.0;
  UpdateScrollBars();
  return true;
}

void ViewZoom::SetPictureSize(QSize size) {
  pictureSize_ = size;
  UpdateScrollBars();
}

QSize ViewZoom::ZoomedPictureSize() const {
  return {static_cast<int>(std::ceil(pictureSize_.width() * zoom_)),
          static_cast<int>(std::ceil(pictureSize_.height() * zoom_))};
}

void ViewZoom::UpdateScrollBars() {
  // A picture that fits the room the viewport has without scroll bars needs
  // none, even while bars shown for a larger picture still take that room.
  const QSize zoomed = ZoomedPictureSize();
  QSize page = window_.viewport()->size();
  const QSize room = window_.maximumViewportSize();
  if (zoomed.width() <= room.width() && zoomed.height() <= room.height()) page = room;
  SetUpScrollBar(*window_.horizontalScrollBar(), std::max(0, zoomed.width()), page.width());
  SetUpScrollBar(*window_.verticalScrollBar(), std::max(0, zoomed.height()), page.height());
}

void ViewZoom::FitWindowToNewPictureSize() {
  if (pictureSize_ != fittedSize_) FitWindowToPicture();
}

void ViewZoom::FitWindowToPicture() {
  QWidget* top = window_.window();
  fittedSize_ = pictureSize_;
  if (top->isMaximized() || top->isFullScreen() || pictureSize_.isEmpty()) return;
  if (top->layout() != nullptr) top->layout()->activate();

  // Everything around the viewport: frames, tool and status bars.
  const QSize chrome = top->size() - window_.maximumViewportSize();
  QSize wanted = pictureSize_ + chrome;

  const QScreen* screen = top->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    top->resize(wanted);
    return;
  }
  const QSize decoration = top->frameGeometry().size() - top->size();
  const QSize room = screen->availableGeometry().size() - decoration;
  if (wanted.width() > room.width() || wanted.height() > room.height()) {
    // A keyhole into a picture larger than the screen shows nothing of its
    // structure: the window takes the screen and the picture fits into it,
    // which the zoom pane of the status bar says.
    top->resize(room);
    if (top->layout() != nullptr) top->layout()->activate();
    FitToWindow();
    return;
  }
  if (ResetToOwnSize()) shown_(true);
  top->resize(wanted);
}

Point ViewZoom::ScrollPosition() const {
  return {window_.horizontalScrollBar()->value(), window_.verticalScrollBar()->value()};
}

QRect ViewZoom::ToViewport(const Rect& area) const {
  const Point scroll = ScrollPosition();
  const int left = static_cast<int>(std::floor(area.left * zoom_));
  const int top = static_cast<int>(std::floor(area.top * zoom_));
  const int right = static_cast<int>(std::ceil(area.right * zoom_));
  const int bottom = static_cast<int>(std::ceil(area.bottom * zoom_));
  return QRect(left - scroll.x, top - scroll.y, right - left, bottom - top);
}

QPoint ViewZoom::ToViewport(Point p) const {
  const Point scroll = ScrollPosition();
  return {static_cast<int>(std::floor(p.x * zoom_)) - scroll.x,
          static_cast<int>(std::floor(p.y * zoom_)) - scroll.y};
}

Point ViewZoom::ToPicture(QPoint viewportPos) const {
  const Point scroll = ScrollPosition();
  return {static_cast<int>(std::floor((viewportPos.x() + scroll.x) / zoom_)),
          static_cast<int>(std::floor((viewportPos.y() + scroll.y) / zoom_))};
}

Rect ViewZoom::VisibleArea() const {
  const Point scroll = ScrollPosition();
  const QWidget& viewport = *window_.viewport();
  return PictureAreaOf({scroll.x, scroll.y, scroll.x + viewport.width(), scroll.y + viewport.height()},
                       zoom_);
}

}  // namespace mapvine
