#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QString>

#include <array>
#include <vector>

namespace mapvine {

// `text` laid out in `font` by Qt's text layout, one run of glyphs per
// face; `width`, if asked for, is how far the text reaches.
QList<QGlyphRun> LaidOutGlyphRuns(const QString& text, const QFont& font, double* width = nullptr);

// Lays out labels written in the characters network names are made of
// (capitals, digits, and . @ # $) as Qt's text layout lays them out in
// one face, from a table that layout made once: each character's glyph,
// and for each pair of characters the step from the first to the second
// (the first's advance with the pair's kerning). Qt's layout itemizes and
// shapes every text anew, which across the tens of thousands of labels of
// a large picture was most of the work of preparing its pages.
class NameShaping {
 public:
  explicit NameShaping(const QFont& font);

  // Appends the glyphs of `text` and their places from its baseline
  // origin, each on the whole pixel at or before it, and sets `width` to
  // how far the text reaches. False, with nothing appended, for a text
  // with a character or pair of characters the table does not hold: one
  // the face lacks, or that the layout does not lay out glyph by glyph.
  bool Shape(const QString& text, QList<quint32>& glyphs, QList<QPointF>& positions, double& width) const;

 private:
  static constexpr char16_t kCharacters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.@#$";
  static constexpr int kCount = static_cast<int>(std::size(kCharacters)) - 1;
  static int NumberOf(QChar c);  // -1 for a character not in the table

  std::array<quint32, kCount> glyphs_{};
  std::array<double, kCount> advances_{};  // each alone, as a text's last
  std::array<bool, kCount> known_{};
  std::vector<double> steps_;  // kCount x kCount; NaN for a pair not laid out glyph by glyph
};

}  // namespace mapvine
