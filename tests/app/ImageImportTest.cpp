#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>

#include "model/CNode.h"
#include "app/ImageImport.h"
#include "export/IndexedImage.h"

namespace mapvine {
namespace {

// Mean difference per channel between two images of one size, after both
// are averaged over `block` x `block` squares: dithering trades exact pixels
// for the right colour over a small area, which is what the eye sees.
double MeanBlockError(const QImage& a, const QImage& b, int block) {
  const QSize small(a.width() / block, a.height() / block);
  const QImage x = a.convertToFormat(QImage::Format_RGB32).scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage y = b.convertToFormat(QImage::Format_RGB32).scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double sum = 0;
  for (int j = 0; j < small.height(); ++j) {
    for (int i = 0; i < small.width(); ++i) {
      const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * small.width() * small.height());
}

void ExpectFullTable(const CDIB& dib) {
  EXPECT_EQ(dib.BitCount(), 8);
  EXPECT_EQ(dib.ColorCount(), 256);
}

TEST(ImageImport, TransparentPngBecomesAnIconClearWhereItWasClear) {
  QTemporaryDir folder;
  QImage icon(40, 30, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.fillRect(8, 6, 24, 18, QColor(200, 40, 60));
  painter.fillRect(14, 10, 8, 8, QColor(30, 90, 220));
  painter.end();
  const QString path = folder.filePath("icon.png");
  ASSERT_TRUE(icon.save(path));

  const ImportedImage imported = ImportImage(path, ImageUse::Icon);
  ASSERT_TRUE(imported.image) << imported.error;
  ExpectFullTable(*imported.image);
  CNode node;
  node.SetImage(*imported.image, 0, 0);
  const QImage shown = ToRgbImage(*imported.image);
  for (int y = 1; y < icon.height(); ++y) {
    for (int x = 1; x < icon.width(); ++x) {
      const bool opaque = qAlpha(icon.pixel(x, y)) == 255;
      EXPECT_EQ(node.HitTest(x, y), opaque) << x << "," << y;
      if (opaque) {
        EXPECT_EQ(shown.pixel(x, y), icon.pixel(x, y)) << x << "," << y;
      }
    }
  }
}

TEST(ImageImport, PhotographBecomesABackgroundThatLooksLikeIt) {
  QTemporaryDir folder;
  // Smooth colour gradients with grain: far more than 256 colours.
  QImage photo(256, 192, QImage::Format_RGB888);
  QRandomGenerator grain(7);
  for (int y = 0; y < photo.height(); ++y) {
    for (int x = 0; x < photo.width(); ++x) {
      const int noise = grain.bounded(-12, 13);
      photo.setPixel(x, y, qRgb(std::clamp(x + noise, 0, 255), std::clamp(y + 30 + noise, 0, 255),
                                std::clamp(255 - (x + y) / 2 + noise, 0, 255)));
    }
  }
  const QString path = folder.filePath("photo.bmp");
  ASSERT_TRUE(photo.save(path));  // a 24-bit BMP
  CDIB strict;
  EXPECT_FALSE(strict.Load(path.toStdString()));

  const ImportedImage imported = ImportImage(path, ImageUse::Background);
  ASSERT_TRUE(imported.image) << imported.error;
  ExpectFullTable(*imported.image);
  const QImage shown = ToRgbImage(*imported.image);
  ASSERT_EQ(shown.size(), photo.size());
  EXPECT_LT(MeanBlockError(shown, photo, 4), 8.0);
}

}  // namespace
}  // namespace mapvine
