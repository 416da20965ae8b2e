// Images in any format Qt reads, turned into the 8-bit pictures the
// document holds, so that everything after the import, the saved file
// included, sees nothing new.
#include "app/ImageImport.h"

#include <QImageReader>
#include <QStringList>

#include <optional>

#include "base/UserPrompts.h"
#include "graphics/CDIBLayout.h"

namespace mapvine {
namespace {

constexpr int kAlphaClear = 128;  // below this an icon's pixel is clear
constexpr int kTableSize = 256;

bool IsClear(QRgb pixel) { return qAlpha(pixel) < kAlphaClear; }

// The first pixel that is clear, when the image has any.
std::optional<QPoint> FirstClearPixel(const QImage& argb) {
  for (int y = 0; y < argb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      if (IsClear(row[x])) return QPoint(x, y);
    }
  }
  return std::nullopt;
}

// The image without alpha; clear pixels take the colour of an opaque one, so
// that they add no colour of their own to the reduction.
QImage OpaqueCopy(const QImage& argb) {
  QRgb filler = qRgb(255, 255, 255);
  bool found = false;
  for (int y = 0; y < argb.height() && !found; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width() && !found; ++x) {
      if (!IsClear(row[x])) {
        filler = row[x];
        found = true;
      }
    }
  }
  QImage opaque(argb.size(), QImage::Format_RGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(opaque.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) to[x] = (IsClear(from[x]) ? filler : from[x]) | 0xff000000u;
  }
  return opaque;
}

constexpr Qt::ImageConversionFlags kReduction = Qt::AutoColor | Qt::DiffuseDither;

// An icon's clear pixels take a colour-table entry of their own, and the
// top-left pixel takes it too, since a node treats its top-left pixel's
// index as the clear one.
QImage IndexedIcon(const QImage& argb, QPoint firstClear) {
  QImage indexed = OpaqueCopy(argb).convertToFormat(QImage::Format_Indexed8, kReduction);
  QList<QRgb> table = indexed.colorTable();
  if (table.size() >= kTableSize) {
    table.resize(kTableSize - 1);
    indexed = OpaqueCopy(argb).convertToFormat(QImage::Format_Indexed8, table, kReduction);
  }
  const int clearIndex = static_cast<int>(table.size());
  table.append(argb.pixel(firstClear) | 0xff000000u);
  indexed.setColorTable(table);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    uchar* to = indexed.scanLine(y);
    for (int x = 0; x < argb.width(); ++x) {
      if (IsClear(from[x])) to[x] = static_cast<uchar>(clearIndex);
    }
  }
  indexed.scanLine(0)[0] = static_cast<uchar>(clearIndex);
  return indexed;
}

}  // namespace

std::string ImportableImageFilter() {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    patterns << "*." + QString::fromLatin1(format);
  }
  return "Image files|" + patterns.join(';').toStdString() + "|All files (*.*)|*.*||";
}

std::unique_ptr<CDIB> ToIndexedDib(const QImage& image, ImageUse use) {
  if (image.isNull() || image.width() > dib::kMaxSide || image.height() > dib::kMaxSide) {
    return nullptr;
  }
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  const std::optional<QPoint> firstClear =
      use == ImageUse::Icon ? FirstClearPixel(argb) : std::nullopt;
  const QImage indexed =
      firstClear ? IndexedIcon(argb, *firstClear)
                 : OpaqueCopy(argb).convertToFormat(QImage::Format_Indexed8, kReduction);

  auto dib = std::make_unique<CDIB>();
  if (indexed.isNull() || !dib->Create(indexed.width(), indexed.height())) return nullptr;
  // Entries the image does not use stay black, as in any 256-entry table.
  std::uint8_t* entries = dib->HeaderBlock() + dib::kColorTable;
  const QList<QRgb> table = indexed.colorTable();
  for (int i = 0; i < kTableSize; ++i) {
    const QRgb colour = i < table.size() ? table[i] : qRgb(0, 0, 0);
    entries[4 * i] = static_cast<std::uint8_t>(qBlue(colour));
    entries[4 * i + 1] = static_cast<std::uint8_t>(qGreen(colour));
    entries[4 * i + 2] = static_cast<std::uint8_t>(qRed(colour));
    entries[4 * i + 3] = 0;
  }
  for (int y = 0; y < indexed.height(); ++y) {
    std::copy_n(indexed.constScanLine(y), indexed.width(), dib->PixelPtr(0, y));
  }
  return dib;
}

ImportedImage ImportImage(const QString& path, ImageUse use) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  const std::string shown = path.toStdString();
  if (image.isNull()) {
    return {nullptr, "Cannot use the image \"" + shown + "\".\n" + reader.errorString().toStdString()};
  }
  std::unique_ptr<CDIB> dib = ToIndexedDib(image, use);
  if (!dib) {
    return {nullptr, "Cannot use the image \"" + shown + "\".\nIt is larger than any picture can be."};
  }
  return {std::move(dib), {}};
}

std::unique_ptr<CDIB> AskForImage(ImageUse use) {
  const std::optional<std::string> path = Prompts().AskOpenFileName(ImportableImageFilter());
  if (!path) return nullptr;
  ImportedImage imported = ImportImage(QString::fromStdString(*path), use);
  if (!imported.image) Prompts().ShowWarning(imported.error);
  return std::move(imported.image);
}

}  // namespace mapvine
