// The picture as PDF through Qt's PDF writer: lines, embedded images (each
// distinct one stored once, as the writer keeps an image it has seen) and
// labels as real text, which a reader can search and copy.
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "export/ExportWriters.h"
#include "export/LabelFont.h"
#include "model/LuFold.h"
#include "export/NameText.h"
#include "export/PageTiling.h"
#include "export/PictureImages.h"
#include "graphics/LineDrawing.h"

namespace mapvine {

namespace {

// PDF readers refuse pages longer than 200 inches a side.
constexpr double kLongestPagePoints = 14400.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kPageMarginMillimetres = 10.0;

QColor ToQColor(PaletteEntry colour) { return QColor(colour.red, colour.green, colour.blue); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The nodes and links a page shows, by their numbers in the picture.
struct PageContents {
  std::vector<int> nodes;
  std::vector<int> links;
};

class PdfPainter {
 public:
  PdfPainter(const CMapvineDoc& doc, const ExportedPicture& picture)
      : picture_(picture), images_(doc, picture), metrics_(LabelFont()), ascent_(LabelAscent()) {}

  // Draws the part of the picture inside `area` (picture pixels) with
  // `painter` set up to take picture pixels: of the nodes and links only
  // `contents`, which hold at least those that reach into the area.
  void Draw(QPainter& painter, const QRect& area, const PageContents& contents) const {
    painter.setClipRect(area);
    DrawBackground(painter, area);
    DrawLinks(painter, area, contents.links);
    DrawNodes(painter, area, contents.nodes);
  }

  // Every node and link, for a page that shows the whole picture.
  PageContents Everything() const {
    PageContents all{std::vector<int>(picture_.nodes.size()), std::vector<int>(picture_.links.size())};
    std::iota(all.nodes.begin(), all.nodes.end(), 0);
    std::iota(all.links.begin(), all.links.end(), 0);
    return all;
  }

  // The contents of each part of a grid of `part`-sized parts over the
  // picture, row by row: each node and link goes to the parts its bounds
  // reach, so that a page looks at its own few rather than at all of them.
  std::vector<PageContents> SortIntoParts(QSize part) const {
    const QRect whole(0, 0, std::max(1, picture_.width), std::max(1, picture_.height));
    const int columns = (whole.width() + part.width() - 1) / part.width();
    const int rows = (whole.height() + part.height() - 1) / part.height();
    std::vector<PageContents> parts(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    const auto sort = [&](const QRect& bounds, int number, std::vector<int> PageContents::*list) {
      const QRect inside = bounds.intersected(whole);
      if (inside.isEmpty()) return;
      for (int row = inside.top() / part.height(); row <= inside.bottom() / part.height(); ++row) {
        for (int column = inside.left() / part.width(); column <= inside.right() / part.width(); ++column) {
          (parts[static_cast<std::size_t>(row) * columns + column].*list).push_back(number);
        }
      }
    };
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i) {
      const CSprite& node = *picture_.nodes[i];
      sort(ToQRect(node.GetRect()).united(ToQRect(node.LabelArea())), static_cast<int>(i), &PageContents::nodes);
    }
    for (std::size_t i = 0; i < picture_.links.size(); ++i) {
      sort(ToQRect(picture_.links[i]->bounds), static_cast<int>(i), &PageContents::links);
    }
    return parts;
  }

 private:
  void DrawBackground(QPainter& painter, const QRect& area) const {
    const QRect canvas(0, 0, picture_.width, picture_.height);
    painter.fillRect(area.intersected(canvas), QColor(images_.Uncovered()));
    const QImage& background = images_.Background();
    if (background.isNull()) return;
    switch (images_.Arrangement()) {
      case BackgroundArrangement::Tile:
        painter.fillRect(area.intersected(canvas), QBrush(background));
        break;
      case BackgroundArrangement::Stretch:
        painter.drawImage(QRectF(canvas), background);
        break;
      case BackgroundArrangement::Centre:
        painter.drawImage(images_.CentredPlacement().topLeft(), background);
        break;
    }
  }

  void DrawLinks(QPainter& painter, const QRect& area, const std::vector<int>& links) const {
    QPen pen(Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    for (const int number : links) {
      const CLink* link = picture_.links[static_cast<std::size_t>(number)];
      if (!ToQRect(link->bounds).intersects(area)) continue;
      const LinkStroke stroke = StrokeOf(*link);
      // Only the part on this page, which across pages is a short piece of
      // a long line, or none of a slanting one whose bounds merely meet it.
      Segment part{stroke.from.x(), stroke.from.y(), stroke.to.x(), stroke.to.y()};
      if (!ClipSegment(part, area.left() - 2.0, area.top() - 2.0, area.right() + 3.0, area.bottom() + 3.0)) continue;
      const QColor colour = ToQColor(CLink::ColorOf(link->status));
      if (pen.color() != colour || pen.widthF() != stroke.width) {
        pen.setColor(colour);
        pen.setWidthF(stroke.width);
        painter.setPen(pen);
      }
      painter.drawLine(QPointF(part.x0, part.y0), QPointF(part.x1, part.y1));
    }
  }

  void DrawNodes(QPainter& painter, const QRect& area, const std::vector<int>& nodes) const {
    painter.setFont(LabelFont());
    painter.setPen(ToQColor(CSprite::kLabelColor));
    for (const int i : nodes) {
      const CSprite& node = *picture_.nodes[static_cast<std::size_t>(i)];
      const QRect icon = ToQRect(node.GetRect());
      const QRect band = ToQRect(node.LabelArea());
      if (!icon.united(band).intersects(area)) continue;
      const int image = images_.IconOf(i);
      if (image >= 0) painter.drawImage(icon.topLeft(), images_.Icons()[static_cast<std::size_t>(image)]);
      DrawFoldMark(painter, node);
      if (node.label.empty()) continue;
      const Point at = node.LabelOrigin();
      const QString label = NameToQt(node.label);
      const QPoint baseline(at.x, at.y + ascent_);
      // The label is cut to its band under the icon, as the picture shows
      // it; most fit, and a clip of their own would only cost time.
      if (area.contains(band) && at.x + metrics_.horizontalAdvance(label) <= band.right() + 1) {
        painter.drawText(baseline, label);
        continue;
      }
      painter.save();
      painter.setClipRect(band.intersected(area));
      painter.drawText(baseline, label);
      painter.restore();
    }
  }

  // The box and count of an owner's folded LUs, in the band under its label.
  void DrawFoldMark(QPainter& painter, const CSprite& node) const {
    const int count = FoldMarkCount(picture_, node);
    if (count == 0) return;
    const QRect box = ToQRect(FoldMarkBox(node));
    const Point at = FoldCountOrigin(node);
    painter.save();
    painter.setClipRect(ToQRect(FoldMarkArea(node)));
    painter.fillRect(box, ToQColor(kFoldMarkColor));
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(CSprite::kLabelColor));
    painter.drawText(QPoint(at.x, at.y + ascent_), QString::fromStdString(FoldCountText(count)));
    painter.restore();
  }

  const ExportedPicture& picture_;
  PictureImages images_;
  QFontMetrics metrics_;
  int ascent_;
};

// One page the picture's size at screen resolution, or coarser where the
// picture is longer than a page may be.
bool WriteOnePage(const PdfPainter& drawing, const ExportedPicture& picture, QPdfWriter& pdf) {
  const QSize size(std::max(1, picture.width), std::max(1, picture.height));
  const double longestInches = std::max(size.width(), size.height()) / kScreenDotsPerInch;
  const double shrink = std::max(1.0, longestInches * kPointsPerInch / kLongestPagePoints);
  const int resolution = static_cast<int>(std::ceil(kScreenDotsPerInch * shrink));
  pdf.setResolution(resolution);
  const QSizeF points(size.width() * kPointsPerInch / resolution, size.height() * kPointsPerInch / resolution);
  pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                QPageLayout::Portrait, QMarginsF()));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  painter.setWindow(QRect(QPoint(0, 0), size));
  drawing.Draw(painter, QRect(QPoint(0, 0), size), drawing.Everything());
  return painter.end();
}

// The picture at screen size across A4 pages, row by row, as printing
// across pages does.
bool WriteAcrossPages(const PdfPainter& drawing, const ExportedPicture& picture, QPdfWriter& pdf) {
  pdf.setResolution(static_cast<int>(kScreenDotsPerInch));
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(kPageMarginMillimetres, kPageMarginMillimetres,
                                          kPageMarginMillimetres, kPageMarginMillimetres),
                                QPageLayout::Millimeter));
  const QSize size(std::max(1, picture.width), std::max(1, picture.height));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  const std::vector<QRect> parts = PartsAcrossPages(size, QSizeF(pdf.width(), pdf.height()));
  const std::vector<PageContents> contents = drawing.SortIntoParts(parts.front().size());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 && !pdf.newPage()) return false;
    painter.save();
    painter.translate(-parts[i].topLeft());
    drawing.Draw(painter, parts[i], contents[i]);
    painter.restore();
  }
  return painter.end();
}

}  // namespace

bool WritePdf(const CMapvineDoc& doc, const ExportedPicture& picture, bool acrossPages, QIODevice& out) {
  QPdfWriter pdf(&out);
  pdf.setCreator(QStringLiteral("Mapvine"));
  pdf.setTitle(QStringLiteral("APPN topology"));
  const PdfPainter drawing(doc, picture);
  return acrossPages ? WriteAcrossPages(drawing, picture, pdf) : WriteOnePage(drawing, picture, pdf);
}

}  // namespace mapvine
