#include "export/LabelFont.h"

#include <QFontMetrics>

namespace mapvine {

namespace {
constexpr int kLabelPixelSize = 11;
}  // namespace

QFont LabelFont() {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kLabelPixelSize);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

int LabelAscent() { return QFontMetrics(LabelFont()).ascent(); }

}  // namespace mapvine
