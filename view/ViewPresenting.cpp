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

namespace mapvine {

namespace {

// A scroll step by arrow key or wheel click: a tenth of the page.
constexpr int kLineStepsPerPage = 10;

void SetUpScrollBar(QScrollBar& bar, int content, int page) {
  bar.setRange(0, std::max(0, content - page));
  bar.setPageStep(page);
  bar.setSingleStep(std::max(1, page / kLineStepsPerPage));
}

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
  frame_.stale += r;
  viewport()->update(r);
}

Rect CMapvineView::VisibleArea() const {
  const Point scroll = ScrollPosition();
  return PictureAreaOf({scroll.x, scroll.y, scroll.x + viewport()->width(), scroll.y + viewport()->height()},
                       zoom_);
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
  if (!frame_.image.isNull()) {
    const QImage moved = frame_.image.copy();
    QPainter painter(&frame_.image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(dx, dy, moved);
  }
  const QRect all = viewport()->rect();
  frame_.stale.translate(dx, dy);
  frame_.stale = frame_.stale.intersected(all) + QRegion(all).subtracted(all.translated(dx, dy));
  viewport()->update();
}

void CMapvineView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // While the picture is being changed (or its images rebuilt) the window
  // keeps what it showed; the redraw that ends the change presents it.
  if (HasBuffer() && InBatch()) return;

  const QRect picture = HasBuffer() ? ToViewport(BufferRect()) : QRect();
  const QRegion exposed = event->region();
  const QRegion outside = exposed.subtracted(picture);
  for (const QRect& r : outside) painter.fillRect(r, palette().color(QPalette::Dark));
  if (!HasBuffer()) return;

  if (frame_.image.size() != viewport()->size()) {
    frame_.image = QImage(viewport()->size(), QImage::Format_RGB32);
    frame_.stale = frame_.image.rect();
  }
  if (const CDIBPal* pal = Palette()) frame_.colors = ColorTableOf(*pal);
  const QRegion shown = exposed.intersected(picture).intersected(frame_.image.rect());
  for (const QRect& r : shown.intersected(frame_.stale)) DrawExposed(r);
  frame_.stale -= shown;
  for (const QRect& r : shown) painter.drawImage(r.topLeft(), frame_.image, r);
}

void CMapvineView::DrawExposed(QRect r) {
  const Point scroll = ScrollPosition();
  const ShownPicture shown{Palette(), frame_.colors, BufferRect(), QPoint(scroll.x, scroll.y), zoom_};
  renderer_.DrawShown(frame_.image, r, shown, GetBufferDC(), Overlays());
}

}  // namespace mapvine
