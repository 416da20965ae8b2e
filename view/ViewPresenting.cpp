// Presenting the off-screen buffer: dirty areas become update requests of
// the viewport, and a paint converts only the exposed part of the 8-bit
// buffer into true colour.
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "view/IndexedImage.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

// A scroll step by arrow key or wheel click: a tenth of the page.
constexpr int kLineStepsPerPage = 10;

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

void SetUpScrollBar(QScrollBar& bar, int content, int page) {
  bar.setRange(0, std::max(0, content - page));
  bar.setPageStep(page);
  bar.setSingleStep(std::max(1, page / kLineStepsPerPage));
}

}  // namespace

void CMapvineView::PresentRect(const CDIBSurface&, const CDIBPal*, const Rect& area) {
  const Point scroll = ScrollPosition();
  viewport()->update(ToQRect(area.Offset(-scroll.x, -scroll.y)));
}

Rect CMapvineView::VisibleArea() const {
  const Point scroll = ScrollPosition();
  return Rect{0, 0, viewport()->width(), viewport()->height()}.Offset(scroll.x, scroll.y);
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
  QSize page = viewport()->size();
  const QSize room = maximumViewportSize();
  if (pictureSize_.width() <= room.width() && pictureSize_.height() <= room.height()) page = room;
  SetUpScrollBar(*horizontalScrollBar(), std::max(0, pictureSize_.width()), page.width());
  SetUpScrollBar(*verticalScrollBar(), std::max(0, pictureSize_.height()), page.height());
}

void CMapvineView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CMapvineView::scrollContentsBy(int, int) {
  // The whole viewport shows other parts of the picture now.
  viewport()->update();
}

void CMapvineView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const CDIBSurface* buffer = Surface();
  // While the picture is being changed (or its images rebuilt) the window
  // keeps what it showed; the redraw that ends the change presents it.
  if (buffer != nullptr && (painting || doc_.picture.rebuilding)) return;

  const Point scroll = ScrollPosition();
  const QRect picture = buffer != nullptr
                            ? ToQRect(buffer->GetRect().Offset(-scroll.x, -scroll.y))
                            : QRect();
  const QRegion exposed = event->region();
  const QRegion outside = exposed.subtracted(picture);
  for (const QRect& r : outside) painter.fillRect(r, palette().color(QPalette::Dark));
  if (buffer == nullptr) return;

  if (frame_.size() != viewport()->size()) {
    frame_ = QImage(viewport()->size(), QImage::Format_RGB32);
  }
  const auto table = ColorTableOf(*buffer);
  for (const QRect& r : exposed.intersected(picture)) {
    const Rect area = ToRect(r).Offset(scroll.x, scroll.y);
    convertedPixels_ += ConvertIndexedArea(*buffer, table, area, frame_, r.topLeft());
    painter.drawImage(r.topLeft(), frame_, r);
  }
}

QImage CMapvineView::PictureImage() const {
  const CDIBSurface* buffer = Surface();
  return buffer != nullptr ? ToRgbImage(*buffer) : QImage();
}

}  // namespace mapvine
