#include "export/NameShaping.h"

#include <QTextLayout>
#include <QTextLine>

#include <cmath>
#include <limits>

namespace mapvine {

QList<QGlyphRun> LaidOutGlyphRuns(const QString& text, const QFont& font, double* width) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  if (width != nullptr) *width = line.horizontalAdvance();
  return layout.glyphRuns();
}

NameShaping::NameShaping(const QFont& font) : steps_(static_cast<std::size_t>(kCount) * kCount) {
  for (int a = 0; a < kCount; ++a) {
    double width = 0;
    const QList<QGlyphRun> runs = LaidOutGlyphRuns(QString(QChar(kCharacters[a])), font, &width);
    known_[a] = runs.size() == 1 && runs.front().glyphIndexes().size() == 1;
    if (!known_[a]) continue;
    glyphs_[a] = runs.front().glyphIndexes().front();
    advances_[a] = width;
  }
  for (int a = 0; a < kCount; ++a) {
    for (int b = 0; b < kCount; ++b) {
      double& step = steps_[static_cast<std::size_t>(a) * kCount + b];
      step = std::numeric_limits<double>::quiet_NaN();
      if (!known_[a] || !known_[b]) continue;
      const QList<QGlyphRun> runs = LaidOutGlyphRuns(QString(QChar(kCharacters[a])) + QChar(kCharacters[b]), font);
      if (runs.size() != 1 || runs.front().glyphIndexes() != QList<quint32>{glyphs_[a], glyphs_[b]}) continue;
      const QList<QPointF> places = runs.front().positions();
      step = places[1].x() - places[0].x();
    }
  }
}

int NameShaping::NumberOf(QChar c) {
  for (int i = 0; i < kCount; ++i) {
    if (c.unicode() == kCharacters[i]) return i;
  }
  return -1;
}

bool NameShaping::Shape(const QString& text, QList<quint32>& glyphs, QList<QPointF>& positions,
                        double& width) const {
  std::array<int, 64> numbers{};
  if (text.isEmpty() || text.size() > qsizetype(numbers.size())) return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    numbers[i] = NumberOf(text[i]);
    if (numbers[i] < 0 || !known_[numbers[i]]) return false;
    if (i > 0 && std::isnan(steps_[static_cast<std::size_t>(numbers[i - 1]) * kCount + numbers[i]])) return false;
  }
  // The steps are the layout's own sixty-fourths of a pixel, so their sums
  // are exact and each glyph lands where the layout puts it.
  double x = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    glyphs.push_back(glyphs_[numbers[i]]);
    positions.push_back(QPointF(std::floor(x), 0));
    x += i + 1 < text.size() ? steps_[static_cast<std::size_t>(numbers[i]) * kCount + numbers[i + 1]]
                             : advances_[numbers[i]];
  }
  width = x;
  return true;
}

}  // namespace mapvine
