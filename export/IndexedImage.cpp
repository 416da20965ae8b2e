#include "export/IndexedImage.h"

#include <algorithm>

#include "graphics/CDIBLayout.h"

namespace mapvine {

std::array<QRgb, 256> ColorTableOf(const CDIB& image) {
  std::array<QRgb, 256> table{};
  table.fill(qRgb(0, 0, 0));
  if (!image.HasHeader()) return table;
  const std::uint8_t* entries = image.HeaderBlock() + dib::kColorTable;
  const int count = std::clamp(image.ColorCount(), 0, 256);
  for (int i = 0; i < count; ++i) {
    table[i] = qRgb(entries[4 * i + 2], entries[4 * i + 1], entries[4 * i]);
  }
  return table;
}

std::array<QRgb, 256> ColorTableOf(const CDIBPal& palette) {
  std::array<QRgb, 256> table{};
  table.fill(qRgb(0, 0, 0));
  const auto entries = palette.Entries();
  for (std::size_t i = 0; i < entries.size() && i < table.size(); ++i) {
    table[i] = qRgb(entries[i].red, entries[i].green, entries[i].blue);
  }
  return table;
}

long ConvertIndexedArea(const CDIB& source, const std::array<QRgb, 256>& table, const Rect& area,
                        QImage& dest, QPoint at) {
  if (source.BitCount() != 8 || dest.format() != QImage::Format_RGB32) return 0;
  // Cut the area to the source, then to what lands inside the destination.
  // The image's own extent: a sprite's GetRect is where it stands in the picture.
  const Rect extent{0, 0, source.GetWidth(), source.GetHeight()};
  Rect cut = area.Intersect(extent);
  const Rect destInPicture{area.left - at.x(), area.top - at.y(),
                           area.left - at.x() + dest.width(), area.top - at.y() + dest.height()};
  cut = cut.Intersect(destInPicture);
  if (cut.IsEmpty()) return 0;

  const int dx = at.x() - area.left;
  const int dy = at.y() - area.top;
  for (int y = cut.top; y < cut.bottom; ++y) {
    const std::uint8_t* from = source.PixelPtr(cut.left, y);
    auto* to = reinterpret_cast<QRgb*>(dest.scanLine(y + dy)) + (cut.left + dx);
    for (int x = 0; x < cut.Width(); ++x) to[x] = table[from[x]];
  }
  return static_cast<long>(cut.Width()) * cut.Height();
}

QImage ToRgbImage(const CDIB& source) {
  if (!source.HasHeader() || source.BitCount() != 8) return {};
  QImage image(source.GetWidth(), source.GetHeight(), QImage::Format_RGB32);
  if (image.isNull()) return {};
  ConvertIndexedArea(source, ColorTableOf(source), Rect{0, 0, image.width(), image.height()}, image, QPoint(0, 0));
  return image;
}

QImage ToArgbImage(const CDIB& source, std::uint8_t transparent) {
  if (!source.HasHeader() || source.BitCount() != 8) return {};
  std::array<QRgb, 256> table = ColorTableOf(source);
  table[transparent] = qRgba(0, 0, 0, 0);
  QImage image(source.GetWidth(), source.GetHeight(), QImage::Format_RGB32);
  if (image.isNull()) return {};
  ConvertIndexedArea(source, table, Rect{0, 0, image.width(), image.height()}, image, QPoint(0, 0));
  // Converted in place: RGB32 and ARGB32 share their layout, and the table
  // already holds the alpha.
  return image.reinterpretAsFormat(QImage::Format_ARGB32) ? image : QImage();
}

}  // namespace mapvine
