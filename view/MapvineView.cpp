#include "view/MapvineView.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

#include "render/PaletteMapping.h"

namespace mapvine {

CMapvineView::CMapvineView(CMapvineDoc& doc, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc) {
  // Every paint covers its whole region from the buffer: nothing needs
  // erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The keyboard moves a selection over the nodes.
  setFocusPolicy(Qt::StrongFocus);
  SetTextDrawer(&textDrawer_);
  OnInitialUpdate();
  doc_.AttachView(this);
}

CMapvineView::~CMapvineView() {
  if (doc_.View() == this) doc_.AttachView(nullptr);
}

void CMapvineView::NodeChanged(CNode& node) {
  MapToPalette(node, Palette());
  node.PickTransparentIndex();
  RedrawWholePicture();
}

bool CMapvineView::SetBackground(ComposedBackground& background) {
  if (!CreateBuffer(background.Source(), background.GetWidth(), background.GetHeight(),
                    doc_.mergedPalette.get())) {
    // Whatever the window showed is gone with the buffer.
    pictureSize_ = QSize();
    renderer_.Index().MarkStale();
    UpdateScrollBars();
    InvalidateFrame();
    return false;
  }
  // A new or opened document comes with a new background, and the node a
  // pending manual link started from belongs to the old one.
  picks_.linkMode = false;
  picks_.linkSource = nullptr;
  route_.Clear();
  picks_.selected = nullptr;
  renderer_.Index().MarkStale();
  MapToPalette(background, Palette());
  // The buffer takes the merged palette the node images are rebuilt in; an
  // image that was set outside a rebuild is brought to it here.
  MapNodesToPalette(doc_, Palette());
  updateGeometry();
  if (!InBatch()) FitWindowToPicture();
  RedrawWholePicture();
  return true;
}

void CMapvineView::RedrawArea(const Rect& area) {
  Render(&area);
  CopyToScreen(&area);
}

void CMapvineView::RepaintArea(const Rect& area) { CopyToScreen(&area); }

void CMapvineView::RedrawAll() { RedrawWholePicture(); }

void CMapvineView::SetMarkInactiveLinks(bool mark) {
  if (mark == renderer_.DashInactiveLinks()) return;
  renderer_.SetDashInactiveLinks(mark);
  RedrawWholePicture();
}

void CMapvineView::RedrawWholePicture() {
  Render(nullptr);
  CopyToScreen(nullptr);
}

void CMapvineView::RequestPictureResize(int width, int height) {
  doc_.ComposeBackground(nullptr, kArrangementChosenInView, width, height);
}

// Nothing is composed or shown while nodes arrive or move or the images
// are rebuilt; the redraw at the end of the outermost batch takes the place
// of every change noted meanwhile.
void CMapvineView::BatchStarted() {
  if (batchDepth_++ == 0) documentBatch_.emplace(*this);
}

void CMapvineView::BatchEnded() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  documentBatch_.reset();
}

void CMapvineView::BatchFinished() { RedrawWholePicture(); }

void CMapvineView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == autoScrollTimer_.timerId()) {
    if (drag_.active) {
      DragTo();
    } else {
      autoScrollTimer_.stop();
    }
    return;
  }
  if (event->timerId() == blinkTimer_.timerId()) {
    BlinkPhase();
    return;
  }
  QAbstractScrollArea::timerEvent(event);
}

void CMapvineView::Repaint() { InvalidateFrame(); }

QSize CMapvineView::sizeHint() const {
  const int frame = 2 * frameWidth();
  if (pictureSize_.isEmpty()) return QAbstractScrollArea::sizeHint();
  return pictureSize_ + QSize(frame, frame);
}

namespace {

// Each Zoom In or Out step changes the zoom by this factor.
constexpr double kZoomStep = 1.25;

}  // namespace

double CMapvineView::FitZoom() const {
  if (pictureSize_.isEmpty()) return 1.0;
  const QSize room = maximumViewportSize();
  const double fit = std::min(double(room.width()) / pictureSize_.width(),
                              double(room.height()) / pictureSize_.height());
  return std::clamp(fit, 1e-4, kMaxZoom);
}

double CMapvineView::MinimumZoom() const { return std::min(FitZoom(), 1.0); }

void CMapvineView::SetZoom(double zoom, std::optional<QPoint> anchor) {
  zoom = std::clamp(zoom, MinimumZoom(), kMaxZoom);
  fitted_ = false;
  const QPoint at = anchor.value_or(QPoint(viewport()->width() / 2, viewport()->height() / 2));
  // The picture point under the anchor stays under it.
  const Point scroll = ScrollPosition();
  const double pictureX = (at.x() + scroll.x) / zoom_;
  const double pictureY = (at.y() + scroll.y) / zoom_;
  const bool changed = zoom != zoom_;
  zoom_ = zoom;
  UpdateScrollBars();
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(pictureX * zoom_)) - at.x());
  verticalScrollBar()->setValue(static_cast<int>(std::lround(pictureY * zoom_)) - at.y());
  InvalidateFrame();
  if (changed) emit ZoomChanged(zoom_, fitted_);
}

void CMapvineView::ZoomIn(std::optional<QPoint> anchor) {
  double zoom = zoom_ * kZoomStep;
  // Actual size is a stop on the way in and out.
  if (zoom_ < 1.0 && zoom > 1.0) zoom = 1.0;
  SetZoom(zoom, anchor);
}

void CMapvineView::ZoomOut(std::optional<QPoint> anchor) {
  double zoom = zoom_ / kZoomStep;
  if (zoom_ > 1.0 && zoom < 1.0) zoom = 1.0;
  SetZoom(zoom, anchor);
}

void CMapvineView::FitToWindow() {
  zoom_ = FitZoom();
  fitted_ = true;
  UpdateScrollBars();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  InvalidateFrame();
  emit ZoomChanged(zoom_, fitted_);
}

void CMapvineView::FitWindowToResizedPicture() {
  if (pictureSize_ != fittedSize_) FitWindowToPicture();
}

void CMapvineView::FitWindowToPicture() {
  QWidget* top = window();
  fittedSize_ = pictureSize_;
  if (top->isMaximized() || top->isFullScreen() || pictureSize_.isEmpty()) return;
  if (top->layout() != nullptr) top->layout()->activate();

  // Everything around the viewport: frames, tool and status bars.
  const QSize chrome = top->size() - maximumViewportSize();
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
  if (zoom_ != 1.0 || fitted_) {
    fitted_ = false;
    zoom_ = 1.0;
    UpdateScrollBars();
    emit ZoomChanged(zoom_, fitted_);
  }
  top->resize(wanted);
}

}  // namespace mapvine
