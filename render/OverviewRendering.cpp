#include "render/OverviewRendering.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "model/NodeRecords.h"
#include "model/LuFold.h"
#include "export/NameText.h"
#include "render/FrameOverlays.h"
#include "render/ShownItems.h"

namespace mapvine {

using overview::Pixels;
using overview::Placement;

// What one drawing of an area of the frame works with.
struct OverviewRenderer::Scene {
  const Pixels& px;
  Placement at;
  Detail detail;
  const FrameColors& colors;
  QPainter& painter;
  bool AsMarks() const { return mapvine::AsMarks(detail); }
  bool Folded() const { return detail == Detail::Folded; }
};

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
// Counts are written beside folded owners only while few are in sight.
constexpr int kMostCountsWritten = 300;
constexpr int kCountPixels = 9;
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

void DrawBackground(const ComposedBackground* background, const std::array<QRgb, 256>& table,
                    const Pixels& px, const Placement& at) {
  if (background == nullptr || background->GetRect().IsEmpty()) return;
  const int width = background->GetWidth();
  const int height = background->GetHeight();
  const QRect& r = px.clip;
  std::vector<int> column(static_cast<std::size_t>(r.width()));
  for (int x = r.left(); x <= r.right(); ++x) {
    column[x - r.left()] =
        std::clamp(static_cast<int>((x + at.scroll.x()) / at.zoom), 0, width - 1);
  }
  const ComposedBackground::ColumnMap map = background->MapColumns(column);
  std::vector<std::uint8_t> from(column.size());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const int row = std::clamp(static_cast<int>((y + at.scroll.y()) / at.zoom), 0, height - 1);
    background->ReadRow(row, map, from.data());
    QRgb* to = px.Row(y);
    for (int x = r.left(); x <= r.right(); ++x) to[x] = table[from[x - r.left()]];
  }
}

void DrawMark(const Pixels& px, const QRect& box, QRgb color, bool inactive, bool faded,
              int parity) {
  if (faded) {
    // Stale: every other pixel shows what lies below, as a stale icon does.
    px.FillEveryOther(box, parity, color);
  } else if (inactive) {
    // An inactive node is an open square: its status shows without colour.
    px.Frame(box, 1, color);
  } else {
    px.Fill(box.x(), box.y(), box.width(), box.height(), color);
  }
}

// Each shown link's line in its status colour, green or red.
void DrawStatusLines(const ItemLooks& looks, std::span<const int> links, bool folded,
                     const Pixels& px, const Placement& at) {
  ForEachShownLine(looks, links, folded, at,
                   [&px](const ItemLooks::LinkLook& link, QPoint from, QPoint to) {
                     px.Line(from, to, link.active ? kActiveLine : kInactiveLine);
                   });
}

}  // namespace

QRgb FrameColors::Nearest(PaletteEntry color) const {
  const int index = palette != nullptr ? palette->NearestIndex(color.red, color.green, color.blue)
                                       : -1;
  return index >= 0 && index < 256 ? table[static_cast<std::size_t>(index)]
                                   : qRgb(color.red, color.green, color.blue);
}

Detail DetailFor(double zoom, std::size_t nodesInSight) {
  if (zoom < kFoldZoom || nodesInSight > kFoldCrowd) return Detail::Folded;
  if (zoom * kIconSide < kSmallestIcon) return Detail::Marks;
  if (zoom * kLabelPixels < kSmallestLabel) return Detail::Icons;
  return Detail::IconsAndLabels;
}

const QImage& OverviewRenderer::ScaledIcon(const CNode& node, const std::array<QRgb, 256>& table,
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

void OverviewRenderer::DrawNode(const ShownNode& shown, const Scene& scene) {
  const ItemLooks::NodeLook& look = *shown.look;
  if (scene.AsMarks()) {
    DrawMark(scene.px, shown.box, KindColor(look.nodeType), look.inactiveImage, look.stale,
             scene.at.Parity());
    return;
  }
  const CNode& node = *look.node;
  if (!node.HasHeader()) return;
  QPainter& painter = scene.painter;
  painter.save();
  // A stale icon is faded: half of what lies below shows through.
  if (node.stale) painter.setOpacity(0.5);
  painter.drawImage(shown.box.topLeft(), ScaledIcon(node, scene.colors.table, shown.box.size()));
  painter.restore();
  if (scene.detail != Detail::IconsAndLabels) return;
  // Cut at the icon's right edge, as at 100%.
  const QRect band(shown.box.left(), shown.box.bottom() + 1, shown.box.width(),
                   static_cast<int>(std::ceil(CNode::kLabelBand * scene.at.zoom)));
  painter.save();
  painter.setClipRect(band.intersected(scene.px.clip));
  painter.drawText(band.adjusted(static_cast<int>(10 * scene.at.zoom), 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, NameToQt(node.label));
  painter.restore();
}

void OverviewRenderer::DrawCount(const ShownNode& shown, const Scene& scene) {
  QPainter& painter = scene.painter;
  painter.setPen(QColor(KindColor(shown.look->nodeType)));
  painter.drawText(shown.box.center() + QPoint(shown.box.width() / 2 + 2, 4),
                   QString::number(shown.folded.count));
}

void OverviewRenderer::Draw(const CMapvineDoc& doc, PictureIndex& index, const FrameColors& colors,
                            QImage& frame, QRect r, QPoint scroll, double zoom,
                            const ViewOverlays& overlays) {
  if (zoom != cachedZoom_) {
    icons_.clear();
    cachedZoom_ = zoom;
  }
  const std::array<QRgb, 256>& table = colors.table;
  const Pixels px(frame, r.intersected(frame.rect()));
  const Placement at{zoom, scroll};
  DrawBackground(doc.composedBackground.get(), table, px, at);

  const Rect area{static_cast<int>(std::floor((r.left() + scroll.x()) / zoom)),
                  static_cast<int>(std::floor((r.top() + scroll.y()) / zoom)),
                  static_cast<int>(std::ceil((r.right() + 1 + scroll.x()) / zoom)) + 1,
                  static_cast<int>(std::ceil((r.bottom() + 1 + scroll.y()) / zoom)) + 1};
  // What is drawn for a node or along a line reaches a few pixels beyond
  // it, whatever the zoom.
  const int reach = static_cast<int>(std::ceil(kOverviewMarkReach / zoom));
  const Rect near = area.Inflated(reach, reach);
  const std::vector<int> nodes = index.ShownNodesNear(near);
  const std::vector<int> links = index.ShownLinksNear(near);
  ItemLooks& looks = index.Looks();
  // Hidden nodes count as in sight too; far out, LUs fold whatever the
  // count, and counting is left out.
  const std::size_t inSight = zoom < kFoldZoom ? 0 : index.NodeCountNear(near);
  QPainter painter(&frame);
  painter.setClipRect(px.clip);
  const Scene scene{px, at, DetailFor(zoom, inSight), colors, painter};
  QFont font = painter.font();
  const int labelPixels = static_cast<int>(std::lround(kLabelPixels * zoom));
  font.setPixelSize(scene.AsMarks() ? kCountPixels : std::max(1, labelPixels));
  painter.setFont(font);
  painter.setPen(Qt::white);

  DrawStatusLines(looks, links, scene.Folded(), px, at);
  std::vector<ShownNode> shown;
  shown.reserve(nodes.size());
  for (const int node : nodes) {
    const bool foldsIntoOwner = looks.Node(node).foldOwner != ItemLooks::kNone;
    if (looks.FoldedAway(node) || (scene.Folded() && foldsIntoOwner)) continue;
    shown.push_back(Show(looks, node, at, scene.detail));
  }
  int countsWritten = 0;
  for (const ShownNode& node : shown) {
    DrawNode(node, scene);
    if (node.folded.count > 0 && countsWritten < kMostCountsWritten) {
      ++countsWritten;
      DrawCount(node, scene);
    }
  }

  // Rings around marks may reach beyond the picture's edges.
  const int margin = kOverviewMarkReach;
  const Rect zoomed{-margin, -margin,
                    static_cast<int>(std::ceil(doc.picture.composedWidth * zoom)) + margin,
                    static_cast<int>(std::ceil(doc.picture.composedHeight * zoom)) + margin};
  const OverlayFrame over{px, at, scene.detail, colors, zoomed, looks,
                          [&](const ShownNode& node) { DrawNode(node, scene); }};
  DrawOverlays(over, links, shown, overlays);
}

}  // namespace mapvine
