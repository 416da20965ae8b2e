// Presenting the picture: changed areas become update requests of the
// viewport, and a paint draws only the exposed part of the picture, at the
// current zoom, and converts it into true colour.
#include <QPaintEvent>
#include <QPainter>

#include "export/IndexedImage.h"
#include "view/MapvineView.h"

namespace mapvine {

void CMapvineView::ExposeArea(const Rect& area) {
  // Far out, a node's mark and the rings around it reach beyond its place.
  const int reach = zoom_.Zoom() < 1.0 ? kOverviewMarkReach : 0;
  MarkFrameStale(zoom_.ToViewport(area).adjusted(-reach, -reach, reach, reach));
}

void CMapvineView::MarkFrameStale(const QRect& r) {
  frame_.stale += r;
  viewport()->update(r);
}

Rect CMapvineView::VisibleArea() const { return zoom_.VisibleArea(); }

void CMapvineView::SetScrollSizes(int width, int height) { zoom_.SetPictureSize(QSize(width, height)); }

void CMapvineView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // A fitted picture stays fitted to the window it is shown in.
  if (zoom_.Fitted()) {
    zoom_.FitToWindow();
  } else {
    zoom_.UpdateScrollBars();
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

  const QRect picture = HasBuffer() ? zoom_.ToViewport(BufferRect()) : QRect();
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
  const Point scroll = zoom_.ScrollPosition();
  const ShownPicture shown{Palette(), frame_.colors, BufferRect(), QPoint(scroll.x, scroll.y), zoom_.Zoom()};
  renderer_.DrawShown(frame_.image, r, shown, GetBufferDC(), Overlays());
}

}  // namespace mapvine
