#include "view/QtTextDrawer.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>

#include "graphics/LineDrawing.h"
#include "view/NameText.h"

namespace mapvine {

namespace {

// 8 points at 96 dots per inch, fixed in pixels so that the picture looks
// the same whatever the screen's resolution.
constexpr int kLabelPixelSize = 11;
// A glyph pixel is drawn when it covers at least half of the pixel.
constexpr int kCoverageThreshold = 128;
// Beyond this many different texts the cache starts over; a picture holds
// far fewer labels.
constexpr std::size_t kMaxCachedTexts = 20000;
// A label is cut at its icon's right edge; rasterising more characters than
// any icon could show would only let a damaged file allocate without bound.
constexpr std::size_t kMaxDrawnCharacters = 512;

}  // namespace

QtTextDrawer::QtTextDrawer() : font_(QStringLiteral("Sans Serif")) {
  font_.setStyleHint(QFont::SansSerif);
  font_.setPixelSize(kLabelPixelSize);
  font_.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font_);
  ascent_ = metrics.ascent();
  lineHeight_ = metrics.height();
}

const QtTextDrawer::Mask& QtTextDrawer::MaskOf(std::string_view text) {
  const std::string key(text);
  if (auto found = masks_.find(key); found != masks_.end()) return found->second;
  if (masks_.size() >= kMaxCachedTexts) masks_.clear();

  const QString qtext = NameToQt(text);
  const QFontMetrics metrics(font_);
  Mask mask;
  mask.width = std::max(metrics.horizontalAdvance(qtext), metrics.boundingRect(qtext).right() + 1);
  mask.height = lineHeight_;
  if (mask.width > 0 && mask.height > 0) {
    QImage coverage(mask.width, mask.height, QImage::Format_Alpha8);
    coverage.fill(Qt::transparent);
    {
      QPainter painter(&coverage);
      painter.setFont(font_);
      painter.setPen(Qt::black);
      painter.drawText(0, ascent_, qtext);
    }
    mask.covered.resize(static_cast<std::size_t>(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y) {
      const uchar* alpha = coverage.constScanLine(y);
      for (int x = 0; x < mask.width; ++x) {
        mask.covered[static_cast<std::size_t>(y) * mask.width + x] =
            alpha[x] >= kCoverageThreshold ? 1 : 0;
      }
    }
  } else {
    mask.width = 0;
  }
  return masks_.emplace(key, std::move(mask)).first->second;
}

void QtTextDrawer::DrawText(CDIB& target, std::string_view text, Point origin, const Rect& clip,
                            PaletteEntry color) {
  if (text.empty() || !target.HasHeader() || target.BitCount() != 8) return;
  text = text.substr(0, kMaxDrawnCharacters);
  const Mask& mask = MaskOf(text);
  const Rect textArea{origin.x, origin.y, origin.x + mask.width, origin.y + mask.height};
  const Rect drawn = textArea.Intersect(clip).Intersect(target.GetRect());
  if (drawn.IsEmpty()) return;

  const std::uint8_t index = NearestTableIndex(target, color);
  for (int y = drawn.top; y < drawn.bottom; ++y) {
    const std::uint8_t* covered =
        mask.covered.data() + static_cast<std::size_t>(y - origin.y) * mask.width;
    std::uint8_t* row = target.PixelPtr(drawn.left, y);
    for (int x = drawn.left; x < drawn.right; ++x, ++row) {
      if (covered[x - origin.x]) *row = index;
    }
  }
}

}  // namespace mapvine
