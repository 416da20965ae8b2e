// Names laid out from the table land glyph for glyph, pixel for pixel,
// where Qt's own layout puts them; anything else is left to that layout.
#include <QFont>
#include <gtest/gtest.h>

#include "export/LabelFont.h"
#include "export/NameShaping.h"
#include "export/PdfPagePreparation.h"
#include "snanode/NetworkGenerator.h"

namespace mapvine {
namespace {

TEST(NameShaping, LaysNamesOutAsQtsLayoutDoesAndLeavesTheRestToIt) {
  const QFont font = LabelFont();
  const NameShaping names(font);
  // Generated names, qualified and not, and pairs and runs that kern.
  QStringList texts = {"AVATAR", "LTYWAV.T", "T.A.V.Y", "W@#$A7", "1111.1", "ZZ9AT@Y"};
  for (const snanode::Resource& resource : snanode::GenerateNetwork(3000, 7).resources) {
    texts << QString::fromStdString(resource.name) << QString::fromStdString(resource.name).section('.', 1);
  }
  for (const QString& text : texts) {
    QList<quint32> glyphs;
    QList<QPointF> positions;
    double width = 0;
    ASSERT_TRUE(names.Shape(text, glyphs, positions, width)) << text.toStdString();
    double qtWidth = 0;
    const QList<QGlyphRun> runs = PlacedGlyphRuns(text, font, &qtWidth);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(glyphs, runs.front().glyphIndexes()) << text.toStdString();
    EXPECT_EQ(positions, runs.front().positions()) << text.toStdString();
    EXPECT_EQ(width, qtWidth) << text.toStdString();
  }
  for (const QString& other : {QString("ab"), QString("A B"), QString::fromUtf8("\xC3\x89T"), QString()}) {
    QList<quint32> glyphs;
    QList<QPointF> positions;
    double width = 0;
    EXPECT_FALSE(names.Shape(other, glyphs, positions, width)) << other.toStdString();
    EXPECT_TRUE(glyphs.isEmpty() && positions.isEmpty());
  }
}

}  // namespace
}  // namespace mapvine
