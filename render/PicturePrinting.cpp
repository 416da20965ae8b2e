#include "render/PicturePrinting.h"

#include <QPainter>

#include "export/PageTiling.h"

namespace mapvine {

namespace {

void PrintFitted(QPainter& painter, const QImage& picture) {
  const QRect page = painter.viewport();
  const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), fitted.width(), fitted.height());
  painter.setWindow(picture.rect());
  painter.drawImage(0, 0, picture);
}

// Row by row, each page showing the part of the picture that falls on it.
bool PrintAcrossPages(QPainter& painter, QPagedPaintDevice& device, double dotsPerInch,
                      const QImage& picture) {
  const QRect page = painter.viewport();
  const double scale = dotsPerInch / kScreenDotsPerInch;
  bool first = true;
  for (const QRect& part : PartsAcrossPages(picture.size(), QSizeF(page.size()) / scale)) {
    if (!first && !device.newPage()) return false;
    first = false;
    const QRectF target(page.x(), page.y(), part.width() * scale, part.height() * scale);
    painter.drawImage(target, picture, part);
  }
  return true;
}

}  // namespace

bool PrintPicture(QPagedPaintDevice& device, double dotsPerInch, const QImage& picture,
                  PrintLayout layout) {
  if (picture.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  bool printed = true;
  if (layout == PrintLayout::AcrossPages) {
    printed = PrintAcrossPages(painter, device, dotsPerInch, picture);
  } else {
    PrintFitted(painter, picture);
  }
  return painter.end() && printed;
}

}  // namespace mapvine
