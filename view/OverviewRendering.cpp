#include "view/OverviewRendering.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "graphics/NodeRecords.h"
#include "view/NameText.h"

namespace mapvine {

namespace {

// Below this zoom, or with more nodes than this in sight, LUs fold.
constexpr double kFoldZoom = 0.1;
constexpr std::size_t kFoldCrowd = 20000;
// An icon shown smaller than this many pixels a side becomes a mark.
constexpr double kSmallestIcon = 10;
constexpr double kIconSide = 32;
// Labels (11 pixels at 100%) smaller than this are left out.
constexpr double kLabelPixels = 11;
constexpr double kSmallestLabel = 8;
// Mark size in pixels; an owner with folded LUs grows with their number.
constexpr int kMarkSide = 5;
constexpr int kMaxMarkGrowth = 6;
// Counts are written beside folded owners only while few are in sight.
constexpr int kMostCountsWritten = 300;
constexpr std::size_t kMostCachedIcons = 512;

constexpr QRgb kActiveLine = qRgb(0, 255, 0);
constexpr QRgb kInactiveLine = qRgb(255, 0, 0);

QRgb KindColor(int nodeType) {
  switch (nodeType) {
    case NetworkNode:
      return qRgb(64, 128, 255);
    case EndNode:
      return qRgb(0, 210, 210);
    case LogicalUnit:
      return qRgb(240, 200, 0);
    case ConnectionNetwork:
      return qRgb(220, 0, 220);
    default:
      return qRgb(255, 255, 255);
  }
}

// Whether the node shows its inactive image.
bool ShowsInactive(const CSprite& node) {
  return node.imageIndex != 0 && node.imageIndex != node.activeImage;
}

// The shown node an LU folds into: the first node it is linked with that is
// not an LU itself. None for other nodes and for LUs without one.
const CSprite* FoldOwner(const CSprite& node) {
  if (node.nodeType != LogicalUnit) return nullptr;
  for (const CLink* link : node.links) {
    const CSprite* other = link->endA == &node ? link->endB : link->endA;
    if (other != nullptr && other != &node && !other->hidden && other->nodeType != LogicalUnit) {
      return other;
    }
  }
  return nullptr;
}

int FoldedCount(const CSprite& owner) {
  int count = 0;
  for (const CLink* link : owner.links) {
    const CSprite* other = link->endA == &owner ? link->endB : link->endA;
    if (other != nullptr && !other->hidden && FoldOwner(*other) == &owner) ++count;
  }
  return count;
}

// Writes pixels of the frame inside one rectangle only. Rows are addressed
// directly: a fitted frame of a large network writes a million pixels.
class Pixels {
 public:
  Pixels(QImage& frame, QRect clip)
      : frame(frame),
        clip(clip),
        bits_(reinterpret_cast<QRgb*>(frame.bits())),
        stride_(frame.bytesPerLine() / static_cast<int>(sizeof(QRgb))),
        left_(clip.left()),
        top_(clip.top()),
        right_(clip.right()),
        bottom_(clip.bottom()) {}

  QImage& frame;
  QRect clip;

  QRgb* Row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  void Put(int x, int y, QRgb color) const {
    if (x >= left_ && x <= right_ && y >= top_ && y <= bottom_) Row(y)[x] = color;
  }
  void Fill(int x, int y, int w, int h, QRgb color) const {
    const QRect r = QRect(x, y, w, h).intersected(clip);
    for (int row = r.top(); row <= r.bottom(); ++row) {
      QRgb* line = Row(row);
      std::fill(line + r.left(), line + r.right() + 1, color);
    }
  }
  // A one-pixel line, both ends included.
  void Line(QPoint from, QPoint to, QRgb color) const {
    if (!QRect(from, to).normalized().adjusted(-1, -1, 1, 1).intersects(clip)) return;
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      Put(x, y, color);
      if (x == to.x() && y == to.y()) break;
      const int doubled = 2 * error;
      if (doubled >= dy) {
        error += dy;
        x += sx;
      }
      if (doubled <= dx) {
        error += dx;
        y += sy;
      }
    }
  }

 private:
  QRgb* bits_;
  int stride_;
  int left_, top_, right_, bottom_;
};

struct Placement {
  double zoom;
  QPoint scroll;
  QPoint At(double x, double y) const {
    return {static_cast<int>(std::lround(x * zoom)) - scroll.x(),
            static_cast<int>(std::lround(y * zoom)) - scroll.y()};
  }
  QPoint CentreOf(const CSprite& node) const {
    const Point c = node.GetCenter();
    return At(c.x, c.y);
  }
};

void DrawBackground(const CDIB* background, const std::array<QRgb, 256>& table, const Pixels& px,
                    const Placement& at) {
  if (background == nullptr || !background->HasHeader()) return;
  const int width = background->GetWidth();
  const int height = background->GetHeight();
  const QRect& r = px.clip;
  std::vector<int> column(static_cast<std::size_t>(r.width()));
  for (int x = r.left(); x <= r.right(); ++x) {
    column[x - r.left()] =
        std::clamp(static_cast<int>((x + at.scroll.x()) / at.zoom), 0, width - 1);
  }
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const int row = std::clamp(static_cast<int>((y + at.scroll.y()) / at.zoom), 0, height - 1);
    const std::uint8_t* from = background->PixelPtr(0, row);
    QRgb* to = px.Row(y);
    for (int x = r.left(); x <= r.right(); ++x) to[x] = table[from[column[x - r.left()]]];
  }
}

void DrawLinks(const std::vector<const CLink*>& links, bool folded, const Pixels& px,
               const Placement& at) {
  // Folded LUs' links are drawn from their owner, each pair of ends once.
  std::set<std::pair<const CSprite*, const CSprite*>> drawn;
  for (const CLink* link : links) {
    if (!link->Shown()) continue;
    const QRgb color = IsActive(link->status) ? kActiveLine : kInactiveLine;
    if (!folded) {
      px.Line(at.At(link->x1, link->y1), at.At(link->x2, link->y2), color);
      continue;
    }
    const CSprite* a = link->endA;
    const CSprite* b = link->endB;
    const CSprite* ownerA = FoldOwner(*a);
    const CSprite* ownerB = FoldOwner(*b);
    if (ownerA == nullptr && ownerB == nullptr) {
      px.Line(at.At(link->x1, link->y1), at.At(link->x2, link->y2), color);
      continue;
    }
    if (ownerA != nullptr) a = ownerA;
    if (ownerB != nullptr) b = ownerB;
    if (a == b || !drawn.insert(std::minmax(a, b)).second) continue;
    px.Line(at.CentreOf(*a), at.CentreOf(*b), color);
  }
}

void DrawMark(const Pixels& px, QPoint centre, int side, QRgb color, bool inactive) {
  const int x = centre.x() - side / 2;
  const int y = centre.y() - side / 2;
  if (!inactive) {
    px.Fill(x, y, side, side, color);
    return;
  }
  // An inactive node is an open square: its status shows without colour.
  px.Fill(x, y, side, 1, color);
  px.Fill(x, y + side - 1, side, 1, color);
  px.Fill(x, y, 1, side, color);
  px.Fill(x + side - 1, y, 1, side, color);
}

}  // namespace

Detail DetailFor(double zoom, std::size_t nodesInSight) {
  if (zoom < kFoldZoom || nodesInSight > kFoldCrowd) return Detail::Folded;
  if (zoom * kIconSide < kSmallestIcon) return Detail::Marks;
  if (zoom * kLabelPixels < kSmallestLabel) return Detail::Icons;
  return Detail::IconsAndLabels;
}

const QImage& OverviewRenderer::ScaledIcon(const CSprite& node, const std::array<QRgb, 256>& table,
                                           QSize size) {
  const auto key = std::make_tuple(static_cast<const void*>(node.HeaderBlock()),
                                   int{node.transparentIndex}, size.width() * 65536 + size.height());
  if (auto found = icons_.find(key); found != icons_.end()) return found->second;
  if (icons_.size() >= kMostCachedIcons) icons_.clear();
  QImage full(node.GetWidth(), node.GetHeight(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < node.GetHeight(); ++y) {
    const std::uint8_t* from = node.PixelPtr(0, y);
    auto* to = reinterpret_cast<QRgb*>(full.scanLine(y));
    for (int x = 0; x < node.GetWidth(); ++x) {
      to[x] = from[x] == node.transparentIndex ? qRgba(0, 0, 0, 0) : table[from[x]];
    }
  }
  return icons_
      .emplace(key, full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
      .first->second;
}

void OverviewRenderer::Draw(const CMapvineDoc& doc, PictureIndex& index,
                            const std::array<QRgb, 256>& table, QImage& frame, QRect r,
                            QPoint scroll, double zoom) {
  if (zoom != cachedZoom_) {
    icons_.clear();
    cachedZoom_ = zoom;
  }
  const Pixels px(frame, r.intersected(frame.rect()));
  const Placement at{zoom, scroll};
  DrawBackground(doc.composedBackground.get(), table, px, at);

  const Rect area{static_cast<int>(std::floor((r.left() + scroll.x()) / zoom)),
                  static_cast<int>(std::floor((r.top() + scroll.y()) / zoom)),
                  static_cast<int>(std::ceil((r.right() + 1 + scroll.x()) / zoom)) + 1,
                  static_cast<int>(std::ceil((r.bottom() + 1 + scroll.y()) / zoom)) + 1};
  // Marks reach a few pixels beyond their node's centre, whatever the zoom.
  const int markReach = static_cast<int>(std::ceil((kMarkSide + kMaxMarkGrowth) / zoom));
  const std::vector<const CSprite*> nodes = index.NodesNear(area.Inflated(markReach, markReach));
  const Detail detail = DetailFor(zoom, nodes.size());
  const bool folded = detail == Detail::Folded;
  DrawLinks(index.LinksNear(area), folded, px, at);

  if (detail == Detail::Marks || folded) {
    int countsWritten = 0;
    QPainter painter(&frame);
    painter.setClipRect(px.clip);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (const CSprite* node : nodes) {
      if (node->hidden || (folded && FoldOwner(*node) != nullptr)) continue;
      const int count = folded ? FoldedCount(*node) : 0;
      const int growth = count > 0 ? std::min(kMaxMarkGrowth, 1 + static_cast<int>(std::log2(count))) : 0;
      const QPoint centre = at.CentreOf(*node);
      const QRgb color = KindColor(node->nodeType);
      DrawMark(px, centre, kMarkSide + growth, color, ShowsInactive(*node));
      if (count > 0 && countsWritten < kMostCountsWritten) {
        ++countsWritten;
        painter.setPen(QColor(color));
        painter.drawText(centre + QPoint((kMarkSide + growth) / 2 + 2, 4), QString::number(count));
      }
    }
    return;
  }

  QPainter painter(&frame);
  painter.setClipRect(px.clip);
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(kLabelPixels * zoom))));
  painter.setFont(font);
  painter.setPen(Qt::white);
  for (const CSprite* node : nodes) {
    if (node->hidden || !node->HasHeader()) continue;
    const Rect rect = node->GetRect();
    const QPoint topLeft = at.At(rect.left, rect.top);
    const QPoint bottomRight = at.At(rect.right, rect.bottom);
    const QSize size(std::max(1, bottomRight.x() - topLeft.x()),
                     std::max(1, bottomRight.y() - topLeft.y()));
    painter.drawImage(topLeft, ScaledIcon(*node, table, size));
    if (detail == Detail::IconsAndLabels) {
      // Cut at the icon's right edge, as at 100%.
      const QRect band(topLeft.x(), bottomRight.y(), size.width(),
                       static_cast<int>(std::ceil(CSprite::kLabelBand * zoom)));
      painter.save();
      painter.setClipRect(band.intersected(px.clip));
      painter.drawText(band.adjusted(static_cast<int>(10 * zoom), 0, 0, 0),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                       NameToQt(node->label));
      painter.restore();
    }
  }
}

}  // namespace mapvine
