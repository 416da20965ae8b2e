#include "render/QtTextDrawer.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>

#include "graphics/LineDrawing.h"
#include "export/LabelFont.h"
#include "export/NameText.h"

namespace mapvine {

namespace {

// A glyph pixel is drawn when it covers at least half of the pixel.
constexpr int kCoverageThreshold = 128;
// Beyond this many different texts, or this many bytes of coverage, the
// cache starts over; a picture holds far fewer labels.
constexpr std::size_t kMaxCachedTexts = 20000;
constexpr std::size_t kMaxCachedMaskBytes = std::size_t{32} << 20;
// Longer labels are cut before they are laid out, so that a damaged file
// costs the font engine little per label.
constexpr std::size_t kMaxDrawnCharacters = 512;

int PaintedWidth(const QFontMetrics& metrics, const QString& text) {
  return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
}

}  // namespace

QtTextDrawer::QtTextDrawer() : font_(LabelFont()) {
  const QFontMetrics metrics(font_);
  ascent_ = metrics.ascent();
  lineHeight_ = metrics.height();
}

QtTextDrawer::Mask QtTextDrawer::Rasterise(std::string_view text, int shownWidth) const {
  const QString qtext = NameToQt(text);
  const int textWidth = PaintedWidth(QFontMetrics(font_), qtext);
  // Only what can be shown is rasterised: a label is cut at its icon's
  // right edge, however long it is. The whole text is still laid out, so
  // that its start is shaped exactly as it would be in full.
  Mask mask;
  mask.whole = textWidth <= shownWidth;
  mask.width = std::min(textWidth, shownWidth);
  mask.height = lineHeight_;
  if (mask.width <= 0 || mask.height <= 0) {
    mask.width = 0;
    return mask;
  }
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
  return mask;
}

const QtTextDrawer::Mask& QtTextDrawer::MaskOf(std::string_view text, int shownWidth) {
  const std::string key(text);
  auto found = masks_.find(key);
  if (found != masks_.end()) {
    Mask& cached = found->second;
    if (cached.whole || cached.width >= shownWidth) return cached;
    // Shown wider than before (a wider icon): the start drawn so far is
    // not enough.
    cachedMaskBytes_ -= cached.covered.size();
    cached = Rasterise(text, shownWidth);
    cachedMaskBytes_ += cached.covered.size();
    return cached;
  }
  Mask mask = Rasterise(text, shownWidth);
  if (masks_.size() >= kMaxCachedTexts ||
      cachedMaskBytes_ + mask.covered.size() > kMaxCachedMaskBytes) {
    masks_.clear();
    cachedMaskBytes_ = 0;
  }
  cachedMaskBytes_ += mask.covered.size();
  return masks_.emplace(key, std::move(mask)).first->second;
}

void QtTextDrawer::DrawText(CDIB& target, std::string_view text, Point origin, const Rect& clip,
                            PaletteEntry color) {
  if (text.empty() || !target.HasHeader() || target.BitCount() != 8) return;
  const Rect visible = clip.Intersect(target.GetRect());
  const int shownWidth = visible.right - origin.x;
  if (visible.IsEmpty() || shownWidth <= 0) return;
  const Mask& mask = MaskOf(text.substr(0, kMaxDrawnCharacters), shownWidth);
  const Rect textArea{origin.x, origin.y, origin.x + mask.width, origin.y + mask.height};
  const Rect drawn = textArea.Intersect(visible);
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
