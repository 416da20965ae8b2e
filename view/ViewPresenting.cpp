// Presenting the picture: dirty areas become update requests of the
// viewport, and a paint draws only the exposed part of the picture, at the
// current zoom, and converts it into true colour.
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "export/IndexedImage.h"
#include "view/MapvineView.h"
#include "render/OverviewRendering.h"

namespace mapvine {

namespace {

// A scroll step by arrow key or wheel click: a tenth of the page.
constexpr int kLineStepsPerPage = 10;

Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

void SetUpScrollBar(QScrollBar& bar, int content, int page) {
  bar.setRange(0, std::max(0, content - page));
  bar.setPageStep(page);
  bar.setSingleStep(std::max(1, page / kLineStepsPerPage));
}

int FloorDiv(double value, double zoom) { return static_cast<int>(std::floor(value / zoom)); }
int CeilDiv(double value, double zoom) { return static_cast<int>(std::ceil(value / zoom)); }

}  // namespace

QSize CMapvineView::ZoomedPictureSize() const {
  return {static_cast<int>(std::ceil(pictureSize_.width() * zoom_)),
          static_cast<int>(std::ceil(pictureSize_.height() * zoom_))};
}

QRect CMapvineView::ToViewport(const Rect& area) const {
  const Point scroll = ScrollPosition();
  const int left = static_cast<int>(std::floor(area.left * zoom_));
  const int top = static_cast<int>(std::floor(area.top * zoom_));
  const int right = static_cast<int>(std::ceil(area.right * zoom_));
  const int bottom = static_cast<int>(std::ceil(area.bottom * zoom_));
  return QRect(left - scroll.x, top - scroll.y, right - left, bottom - top);
}

void CMapvineView::PresentRect(const Rect& area) {
  // Far out, a node's mark and the rings around it reach beyond its place.
  const int reach = zoom_ < 1.0 ? kOverviewMarkReach : 0;
  InvalidateFrame(ToViewport(area).adjusted(-reach, -reach, reach, reach));
}

void CMapvineView::InvalidateFrame() { InvalidateFrame(viewport()->rect()); }

void CMapvineView::InvalidateFrame(const QRect& r) {
  staleFrame_ += r;
  viewport()->update(r);
}

Rect CMapvineView::VisibleArea() const {
  const Point scroll = ScrollPosition();
  return {FloorDiv(scroll.x, zoom_), FloorDiv(scroll.y, zoom_),
          CeilDiv(scroll.x + viewport()->width(), zoom_),
          CeilDiv(scroll.y + viewport()->height(), zoom_)};
}

Point CMapvineView::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CMapvineView::SetScrollSizes(int width, int height) {
  pictureSize_ = QSize(width, height);
  UpdateScrollBars();
}

void CMapvineView::UpdateScrollBars() {
  // A picture that fits the room the viewport has without scroll bars needs
  // none, even while bars shown for a larger picture still take that room.
  const QSize zoomed = ZoomedPictureSize();
  QSize page = viewport()->size();
  const QSize room = maximumViewportSize();
  if (zoomed.width() <= room.width() && zoomed.height() <= room.height()) page = room;
  SetUpScrollBar(*horizontalScrollBar(), std::max(0, zoomed.width()), page.width());
  SetUpScrollBar(*verticalScrollBar(), std::max(0, zoomed.height()), page.height());
}

void CMapvineView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // A fitted picture stays fitted to the window it is shown in.
  if (fitted_) {
    FitToWindow();
  } else {
    UpdateScrollBars();
  }
}

void CMapvineView::scrollContentsBy(int dx, int dy) {
  // What stays in sight moves along; only the uncovered strip is drawn.
  if (!frame_.isNull()) {
    const QImage moved = frame_.copy();
    QPainter painter(&frame_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(dx, dy, moved);
  }
  const QRect all = viewport()->rect();
  staleFrame_.translate(dx, dy);
  staleFrame_ = staleFrame_.intersected(all) + QRegion(all).subtracted(all.translated(dx, dy));
  viewport()->update();
}

void CMapvineView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // While the picture is being changed (or its images rebuilt) the window
  // keeps what it showed; the redraw that ends the change presents it.
  if (HasBuffer() && painting) return;

  const QRect picture = HasBuffer() ? ToViewport(BufferRect()) : QRect();
  const QRegion exposed = event->region();
  const QRegion outside = exposed.subtracted(picture);
  for (const QRect& r : outside) painter.fillRect(r, palette().color(QPalette::Dark));
  if (!HasBuffer()) return;

  if (frame_.size() != viewport()->size()) {
    frame_ = QImage(viewport()->size(), QImage::Format_RGB32);
    staleFrame_ = frame_.rect();
  }
  if (const CDIBPal* pal = Palette()) colorTable_ = ColorTableOf(*pal);
  const QRegion shown = exposed.intersected(picture).intersected(frame_.rect());
  for (const QRect& r : shown.intersected(staleFrame_)) DrawExposed(r);
  staleFrame_ -= shown;
  for (const QRect& r : shown) painter.drawImage(r.topLeft(), frame_, r);
}

void CMapvineView::DrawExposed(QRect r) {
  if (zoom_ == 1.0) {
    DrawExposedAtOwnSize(r);
  } else if (zoom_ > 1.0) {
    DrawExposedMagnified(r);
  } else {
    UpdateRouteToDraw();
    const Point scroll = ScrollPosition();
    overview_.Draw(doc_, index_, {colorTable_, Palette()}, frame_, r, QPoint(scroll.x, scroll.y),
                   zoom_, {&route_, routeStart_, routeEnd_, SelectedNode()});
  }
}

void CMapvineView::DrawExposedAtOwnSize(QRect r) {
  const Point scroll = ScrollPosition();
  const Rect area = ToRect(r).Offset(scroll.x, scroll.y).Intersect(BufferRect());
  if (area.IsEmpty()) return;
  CDIBSurface window;
  if (!window.Create(area.Width(), area.Height(), Palette())) return;
  RenderArea(window, {area.left, area.top}, area);
  ConvertIndexedArea(window, colorTable_, window.GetRect(), frame_,
                     QPoint(area.left - scroll.x, area.top - scroll.y));
}

void CMapvineView::DrawExposedMagnified(QRect r) {
  // The picture's own pixels, drawn at 100% and each shown as a square.
  const Point scroll = ScrollPosition();
  const Rect zoomed = ToRect(r).Offset(scroll.x, scroll.y);
  const Rect area = Rect{FloorDiv(zoomed.left, zoom_), FloorDiv(zoomed.top, zoom_),
                         CeilDiv(zoomed.right, zoom_), CeilDiv(zoomed.bottom, zoom_)}
                        .Intersect(BufferRect());
  if (area.IsEmpty()) return;
  CDIBSurface window;
  if (!window.Create(area.Width(), area.Height(), Palette())) return;
  RenderArea(window, {area.left, area.top}, area);
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const int py = std::clamp(FloorDiv(y + scroll.y, zoom_) - area.top, 0, area.Height() - 1);
    const std::uint8_t* from = window.PixelPtr(0, py);
    auto* to = reinterpret_cast<QRgb*>(frame_.scanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) {
      const int px = std::clamp(FloorDiv(x + scroll.x, zoom_) - area.left, 0, area.Width() - 1);
      to[x] = colorTable_[from[px]];
    }
  }
}

QImage CMapvineView::PictureImage() {
  const std::unique_ptr<CDIBSurface> picture = RenderWholePicture();
  return picture != nullptr ? ToRgbImage(*picture) : QImage();
}

}  // namespace mapvine
