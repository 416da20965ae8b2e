#include "view/PictureFrame.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <utility>

#include "export/IndexedImage.h"

namespace mapvine {

namespace {

// Beyond this many stale areas in sight, a paint draws their bounding box.
constexpr int kMostAreasDrawnApart = 2;
// A paint reads a large picture whole for at most this long before it shows
// what the window held, and draws bands of a frame while less than this has
// passed: each turn of the event loop stays within a frame.
constexpr auto kPaintBudget = std::chrono::milliseconds(16);
// A frame drawn in bands is cut into this many.
constexpr int kBandsAFrame = 4;

}  // namespace

PictureFrame::PictureFrame(COSBView& picture, const CMapvineDoc& doc, QAbstractScrollArea& window,
                           const ViewZoom& zoom, std::function<ViewOverlays()> overlays)
    : picture_(picture), window_(window), zoom_(zoom), overlays_(std::move(overlays)), renderer_(doc) {
  picture_.SetTextDrawer(&textDrawer_);
}

void PictureFrame::MarkStale(const QRect& r) {
  stale_ += r;
  window_.viewport()->update(r);
}

void PictureFrame::Scroll(int dx, int dy) {
  // What stays in sight moves along; only the uncovered strip is drawn.
  if (!image_.isNull()) {
    const QImage moved = image_.copy();
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(dx, dy, moved);
  }
  const QRect all = window_.viewport()->rect();
  stale_.translate(dx, dy);
  stale_ = stale_.intersected(all) + QRegion(all).subtracted(all.translated(dx, dy));
  window_.viewport()->update();
}

void PictureFrame::Paint(const QRegion& exposed) {
  QWidget& viewport = *window_.viewport();
  QPainter painter(&viewport);
  // While the picture is being changed (or its images rebuilt) the window
  // keeps what it showed; the redraw that ends the change presents it.
  if (picture_.HasBuffer() && picture_.InBatch()) return;

  const QRect picture = picture_.HasBuffer() ? zoom_.ToViewport(picture_.BufferRect()) : QRect();
  const QRegion outside = exposed.subtracted(picture);
  for (const QRect& r : outside) painter.fillRect(r, window_.palette().color(QPalette::Dark));
  if (!picture_.HasBuffer()) return;

  const auto start = PictureIndex::Clock::now();
  if (image_.size() != viewport.size()) {
    image_ = QImage(viewport.size(), QImage::Format_RGB32);
    image_.fill(window_.palette().color(QPalette::Dark));
    stale_ = image_.rect();
  }
  if (const CDIBPal* pal = picture_.Palette()) colors_ = ColorTableOf(*pal);
  const QRegion shown = exposed.intersected(picture).intersected(image_.rect());
  // A large picture read whole (the first refresh's, nodes that came or
  // went) costs several frames: meanwhile the window shows what it held.
  // The paint that finds it so only starts the build, as its turn may have
  // done much already (the end of a refresh); the next ones go on with it.
  if (!renderer_.Index().Prepare(catchingUp_ ? start + kPaintBudget : start)) {
    catchingUp_ = true;
    nextBand_ = 0;
    for (const QRect& r : shown) painter.drawImage(r.topLeft(), image_, r);
    return PaintAgainSoon();
  }
  const QRegion toDraw = shown.intersected(stale_);
  if (catchingUp_) {
    catchingUp_ = !DrawInBands(toDraw, start);
    for (const QRect& r : shown) painter.drawImage(r.topLeft(), image_, r);
    if (catchingUp_) PaintAgainSoon();
    return;
  }
  // Each area drawn asks the index what lies near it and walks the lines
  // through it anew: the many small areas a slice of status answers leaves
  // across a fitted picture cost several times their bounding box drawn
  // once. Drawing more than is stale shows nothing old.
  if (toDraw.rectCount() > kMostAreasDrawnApart) {
    DrawExposed(toDraw.boundingRect());
  } else {
    for (const QRect& r : toDraw) DrawExposed(r);
  }
  stale_ -= shown;
  for (const QRect& r : shown) painter.drawImage(r.topLeft(), image_, r);
}

bool PictureFrame::DrawInBands(const QRegion& toDraw, PictureIndex::Clock::time_point start) {
  // Each paint goes on where the last stopped, so that areas going stale
  // again at the top (a status pass running) cannot hold the bottom back.
  const QRect box = toDraw.boundingRect();
  const int bandHeight = std::max(1, (image_.height() + kBandsAFrame - 1) / kBandsAFrame);
  for (; nextBand_ < kBandsAFrame; ++nextBand_) {
    if (PictureIndex::Clock::now() - start >= kPaintBudget) return false;
    const QRect band = QRect(0, nextBand_ * bandHeight, image_.width(), bandHeight).intersected(box);
    if (band.isEmpty()) continue;
    DrawExposed(band);
    stale_ -= band;
  }
  nextBand_ = 0;
  return true;
}

void PictureFrame::PaintAgainSoon() {
  if (paintPosted_) return;
  paintPosted_ = true;
  // The whole viewport: what is stale may lie outside the last paint's
  // region, or nothing may be stale when only the bands are left to go.
  QTimer::singleShot(0, window_.viewport(), [this] {
    paintPosted_ = false;
    window_.viewport()->update();
  });
}

void PictureFrame::DrawExposed(QRect r) {
  const Point scroll = zoom_.ScrollPosition();
  const ShownPicture shown{picture_.Palette(), colors_, picture_.BufferRect(), QPoint(scroll.x, scroll.y),
                           zoom_.Zoom()};
  renderer_.DrawShown(image_, r, shown, picture_.GetBufferDC(), overlays_());
}

void PictureFrame::DrawPalettedArea(CDIB& window, Point origin, const Rect& area) {
  renderer_.DrawArea(window, origin, area, picture_.GetBufferDC());
}

std::unique_ptr<CDIBSurface> PictureFrame::PalettedPicture() {
  if (!picture_.HasBuffer()) return nullptr;
  auto picture = std::make_unique<CDIBSurface>();
  const Rect extent = picture_.BufferRect();
  if (!picture->Create(extent.Width(), extent.Height(), picture_.Palette())) return nullptr;
  DrawPalettedArea(*picture, {0, 0}, extent);
  return picture;
}

QImage PictureFrame::PictureImage() {
  if (!picture_.HasBuffer()) return {};
  return renderer_.WholePicture(picture_.Palette(), picture_.BufferRect(), picture_.GetBufferDC(), overlays_());
}

}  // namespace mapvine
