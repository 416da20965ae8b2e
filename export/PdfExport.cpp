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

// How far outside a page a line's piece still counts, in picture pixels:
// more than half a line's width, so a line along the page's edge is drawn.
constexpr double kLineReach = 2.0;
// Link pieces are placed to 1/8 pixel and their widths to 1/64.
constexpr int kPieceSteps = 8;
constexpr int kWidthSteps = 64;

// A link's piece on one page.
struct LinePiece {
  QLine line;  // page-relative, in 1/kPieceSteps pixel
  int width;   // in 1/kWidthSteps pixel
  QRgb colour;
};

// The nodes and links a page shows, by their numbers in the picture.
struct PageContents {
  std::vector<int> nodes;
  std::vector<int> links;
};

class PdfPainter {
 public:
  PdfPainter(const CMapvineDoc& doc, const ExportedPicture& picture)
      : picture_(picture), images_(doc, picture), metrics_(LabelFont()), ascent_(LabelAscent()) {
    lines_.reserve(picture.links.size());
    for (const CLink* link : picture.links) {
      lines_.push_back({StrokeOf(*link), ToQColor(CLink::ColorOf(link->status)).rgb()});
    }
  }

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
  // picture, row by row: each node goes to the parts its bounds reach and
  // each link to the parts its line passes through, so that a page looks at
  // its own few rather than at all of them.
  std::vector<PageContents> SortIntoParts(QSize part) const {
    const PartGrid grid{QSize(std::max(1, picture_.width), std::max(1, picture_.height)), part};
    const QRect whole(QPoint(0, 0), grid.picture);
    const int columns = grid.Columns();
    std::vector<PageContents> parts(static_cast<std::size_t>(grid.Count()));
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i) {
      const CNode& node = *picture_.nodes[i];
      const QRect inside = ToQRect(node.GetRect()).united(ToQRect(node.LabelArea())).intersected(whole);
      if (inside.isEmpty()) continue;
      for (int row = inside.top() / part.height(); row <= inside.bottom() / part.height(); ++row) {
        for (int column = inside.left() / part.width(); column <= inside.right() / part.width(); ++column) {
          parts[static_cast<std::size_t>(row) * columns + column].nodes.push_back(static_cast<int>(i));
        }
      }
    }
    for (std::size_t i = 0; i < picture_.links.size(); ++i) {
      const LinkStroke& stroke = lines_[i].stroke;
      for (const int number : PartsAlong(grid, stroke.from, stroke.to, kLineReach)) {
        parts[static_cast<std::size_t>(number)].links.push_back(static_cast<int>(i));
      }
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

  // The links as pieces cut to the page and placed to 1/8 pixel: whole
  // numbers of a few digits, where the PDF writer puts down ten for a
  // fraction, and a page of a large picture holds thousands of pieces. An
  // eighth of a pixel is far below what paper or a reader's zoom shows, and
  // the ends that move lie outside the page, under its clip. Pieces of one
  // colour may go down in any order, so within each run of one colour those
  // of one width are one path; the runs keep the picture's order, where a
  // later line covers an earlier one.
  void DrawLinks(QPainter& painter, const QRect& area, const std::vector<int>& links) const {
    std::vector<LinePiece> pieces = CutToArea(area, links);
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(1.0 / kPieceSteps, 1.0 / kPieceSteps);
    QPen pen(Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    std::vector<QLineF> batch;
    for (auto run = pieces.begin(); run != pieces.end();) {
      const auto runEnd = std::find_if(run, pieces.end(), [&](const LinePiece& p) { return p.colour != run->colour; });
      std::sort(run, runEnd, [](const LinePiece& a, const LinePiece& b) { return a.width < b.width; });
      pen.setColor(QColor(run->colour));
      for (auto group = run; group != runEnd;) {
        batch.clear();
        auto next = group;
        for (; next != runEnd && next->width == group->width; ++next) batch.emplace_back(next->line);
        pen.setWidthF(double(group->width) * kPieceSteps / kWidthSteps);
        painter.setPen(pen);
        painter.drawLines(batch.data(), static_cast<int>(batch.size()));
        group = next;
      }
      run = runEnd;
    }
    painter.restore();
  }

  // The pieces of `links` inside `area` (grown by the lines' reach), in the
  // picture's order.
  std::vector<LinePiece> CutToArea(const QRect& area, const std::vector<int>& links) const {
    std::vector<LinePiece> pieces;
    pieces.reserve(links.size());
    const auto step = [](double v, int steps) { return static_cast<int>(std::lround(v * steps)); };
    for (const int number : links) {
      const LinkStroke& stroke = lines_[static_cast<std::size_t>(number)].stroke;
      Segment part{stroke.from.x(), stroke.from.y(), stroke.to.x(), stroke.to.y()};
      if (!ClipSegment(part, area.left() - kLineReach, area.top() - kLineReach,
                       area.left() + area.width() + kLineReach, area.top() + area.height() + kLineReach)) {
        continue;
      }
      pieces.push_back({QLine(step(part.x0 - area.left(), kPieceSteps), step(part.y0 - area.top(), kPieceSteps),
                              step(part.x1 - area.left(), kPieceSteps), step(part.y1 - area.top(), kPieceSteps)),
                        step(stroke.width, kWidthSteps), lines_[static_cast<std::size_t>(number)].colour});
    }
    return pieces;
  }

  void DrawNodes(QPainter& painter, const QRect& area, const std::vector<int>& nodes) const {
    painter.setFont(LabelFont());
    painter.setPen(ToQColor(CNode::kLabelColor));
    for (const int i : nodes) {
      const CNode& node = *picture_.nodes[static_cast<std::size_t>(i)];
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
      // it; most fit, and a clip of their own would only cost time. The
      // page's own clip cuts one that runs over the page's edge.
      if (at.x + metrics_.horizontalAdvance(label) <= band.right() + 1) {
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
  void DrawFoldMark(QPainter& painter, const CNode& node) const {
    const int count = FoldMarkCount(picture_, node);
    if (count == 0) return;
    const QRect box = ToQRect(FoldMarkBox(node));
    const Point at = FoldCountOrigin(node);
    painter.save();
    painter.setClipRect(ToQRect(FoldMarkArea(node)));
    painter.fillRect(box, ToQColor(kFoldMarkColor));
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(CNode::kLabelColor));
    painter.drawText(QPoint(at.x, at.y + ascent_), QString::fromStdString(FoldCountText(count)));
    painter.restore();
  }

  const ExportedPicture& picture_;
  PictureImages images_;
  QFontMetrics metrics_;
  int ascent_;
  // Each link's line and colour by its number, at hand for every page
  // without a visit to the link itself.
  struct LinkLine {
    LinkStroke stroke;
    QRgb colour;
  };
  std::vector<LinkLine> lines_;
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
