// The picture as PDF through Qt's PDF writer: lines, embedded images (each
// distinct one stored once, as the writer keeps an image it has seen) and
// labels as real text, which a reader can search and copy.
#include <QGlyphRun>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

#include "export/ExportWriters.h"
#include "export/LabelFont.h"
#include "export/PdfDocument.h"
#include "export/NameText.h"
#include "export/PageTiling.h"
#include "export/PdfPagePreparation.h"
#include "export/WorkAhead.h"
#include "export/WriteSteps.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

// PDF readers refuse pages longer than 200 inches a side.
constexpr double kLongestPagePoints = 14400.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kPageMarginMillimetres = 10.0;

QColor ToQColor(PaletteEntry colour) { return QColor(colour.red, colour.green, colour.blue); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

class PdfPainter {
 public:
  explicit PdfPainter(const ExportedPicture& picture)
      : picture_(picture),
        images_(picture.images),
        preparation_(picture),
        font_(LabelFont()),
        rawFont_(QRawFont::fromFont(font_)),
        ascent_(LabelAscent()) {}

  // What the page showing `area` draws, worked out on any thread; none
  // once `progress` asks to stop.
  std::optional<PreparedPdfPage> Prepare(const QRect& area, const PdfPageContents& contents,
                                         const WorkProgress& progress) const {
    return preparation_.Prepare(area, contents, progress);
  }

  // Draws the part of the picture inside `area` (picture pixels) with
  // `painter` set up to take picture pixels: of the nodes and links only
  // `contents`, which hold at least those that reach into the area, as
  // `prepared` for them. Each node counts a step; false when the steps say
  // to stop, which they are asked between two paths of links too.
  bool Draw(QPainter& painter, const QRect& area, const PdfPageContents& contents, const PreparedPdfPage& prepared,
            WriteSteps& steps) const {
    painter.setClipRect(area);
    DrawBackground(painter, area);
    return DrawLinks(painter, area, prepared.links, steps) &&
           DrawNodes(painter, area, contents.nodes, prepared, steps);
  }

  // Every node and link, for a page that shows the whole picture.
  PdfPageContents Everything() const {
    PdfPageContents all{std::vector<int>(picture_.nodes.size()), std::vector<int>(picture_.links.size())};
    std::iota(all.nodes.begin(), all.nodes.end(), 0);
    std::iota(all.links.begin(), all.links.end(), 0);
    return all;
  }

  // The contents of each part of a grid of `part`-sized parts over the
  // picture, row by row: each node goes to the parts its bounds reach and
  // each link to the parts its line passes through, so that a page looks at
  // its own few rather than at all of them. None once `progress` asks to
  // stop.
  std::optional<std::vector<PdfPageContents>> SortIntoParts(QSize part, const WorkProgress& progress) const {
    const PartGrid grid{QSize(std::max(1, picture_.width), std::max(1, picture_.height)), part};
    const QRect whole(QPoint(0, 0), grid.picture);
    const int columns = grid.Columns();
    std::vector<PdfPageContents> parts(static_cast<std::size_t>(grid.Count()));
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i) {
      if (progress.Stopped()) return std::nullopt;
      const ExportedNode& node = picture_.nodes[i];
      const QRect inside = ToQRect(node.icon).united(ToQRect(node.labelArea)).intersected(whole);
      if (inside.isEmpty()) continue;
      for (int row = inside.top() / part.height(); row <= inside.bottom() / part.height(); ++row) {
        for (int column = inside.left() / part.width(); column <= inside.right() / part.width(); ++column) {
          parts[static_cast<std::size_t>(row) * columns + column].nodes.push_back(static_cast<int>(i));
        }
      }
    }
    for (std::size_t i = 0; i < picture_.links.size(); ++i) {
      if (progress.Stopped()) return std::nullopt;
      const LinkStroke& stroke = preparation_.StrokeOf(static_cast<int>(i));
      for (const int number : PartsAlong(grid, stroke.from, stroke.to, kPdfLineReach)) {
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

  bool DrawLinks(QPainter& painter, const QRect& area, const std::vector<PdfPenGroup>& groups,
                 const WriteSteps& steps) const {
    painter.save();
    painter.translate(area.topLeft());
    painter.setBrush(Qt::NoBrush);
    QPen pen(Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    for (const PdfPenGroup& group : groups) {
      if (!steps.GoOn()) break;
      pen.setColor(QColor(group.colour));
      pen.setWidthF(double(group.width) / kPdfWidthSteps);
      painter.setPen(pen);
      painter.drawPath(group.path);
    }
    painter.restore();
    return steps.GoOn();
  }

  // Labels that fit their bands, waiting to go down as one run of glyphs:
  // the writer wraps each text it is given in a dozen operators, as many
  // characters as a short label's own. They wait only while nothing drawn
  // later covers them, and only so many that looking for that stays cheap.
  static constexpr std::size_t kLabelsARun = 64;
  struct LabelRun {
    QList<quint32> glyphs;
    QList<QPointF> positions;
    std::vector<QRect> bands;

    bool Covers(const QRect& r) const {
      return std::any_of(bands.begin(), bands.end(), [&](const QRect& band) { return band.intersects(r); });
    }
  };

  bool DrawNodes(QPainter& painter, const QRect& area, const std::vector<int>& nodes,
                 const PreparedPdfPage& prepared, WriteSteps& steps) const {
    painter.setFont(font_);
    painter.setPen(ToQColor(CNode::kLabelColor));
    LabelRun run;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      if (!steps.Next()) return false;
      const ExportedNode& node = picture_.nodes[static_cast<std::size_t>(nodes[n])];
      const QRect icon = ToQRect(node.icon);
      const QRect band = ToQRect(node.labelArea);
      if (!icon.united(band).intersects(area)) continue;
      if (node.image >= 0) {
        if (run.Covers(icon)) Flush(painter, run);
        painter.drawImage(icon.topLeft(), images_.Icons()[static_cast<std::size_t>(node.image)]);
      }
      if (node.foldedLus > 0) {
        Flush(painter, run);
        DrawFoldMark(painter, node);
      }
      if (node.label.empty() || !band.intersects(area)) continue;
      const Point at = node.labelOrigin;
      const QPoint baseline(at.x, at.y + ascent_);
      const ShapedLabel& label = prepared.labels[n];
      // The label is cut to its band under the icon, as the picture shows
      // it; most fit, and a clip of their own would only cost time. The
      // page's own clip cuts one that runs over the page's edge.
      const bool fits = at.x + label.width <= band.right() + 1;
      if (fits && !label.mixedFaces) {
        for (qsizetype g = label.first; g < label.first + label.count; ++g) {
          run.glyphs.push_back(prepared.glyphs[g]);
          run.positions.push_back(baseline + prepared.positions[g]);
        }
        run.bands.push_back(band);
        if (run.bands.size() == kLabelsARun) Flush(painter, run);
        continue;
      }
      Flush(painter, run);
      painter.save();
      if (!fits) painter.setClipRect(band.intersected(area));
      DrawLabel(painter, baseline, node, label, prepared);
      painter.restore();
    }
    Flush(painter, run);
    return true;
  }

  // Real text: the writer maps each glyph back to its character.
  void Flush(QPainter& painter, LabelRun& run) const {
    if (run.glyphs.isEmpty()) return;
    QGlyphRun glyphs;
    glyphs.setRawFont(rawFont_);
    glyphs.setGlyphIndexes(run.glyphs);
    glyphs.setPositions(run.positions);
    painter.drawGlyphRun(QPointF(0, 0), glyphs);
    run = {};
  }

  void DrawLabel(QPainter& painter, QPoint baseline, const ExportedNode& node, const ShapedLabel& label,
                 const PreparedPdfPage& prepared) const {
    if (label.mixedFaces) {
      // Faces are looked up again on this thread rather than carried over
      // from the one that shaped the label.
      for (const QGlyphRun& run : PlacedGlyphRuns(NameToQt(node.label), font_)) painter.drawGlyphRun(baseline, run);
      return;
    }
    LabelRun run{prepared.glyphs.mid(label.first, label.count), prepared.positions.mid(label.first, label.count), {}};
    for (QPointF& position : run.positions) position += baseline;
    Flush(painter, run);
  }

  // The box and count of an owner's folded LUs, in the band under its
  // label.
  void DrawFoldMark(QPainter& painter, const ExportedNode& node) const {
    const QRect box = ToQRect(node.foldBox);
    const Point at = node.foldCountOrigin;
    painter.save();
    painter.setClipRect(ToQRect(node.foldArea));
    painter.fillRect(box, ToQColor(kFoldMarkColor));
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(CNode::kLabelColor));
    painter.drawText(QPoint(at.x, at.y + ascent_), QString::fromStdString(FoldCountText(node.foldedLus)));
    painter.restore();
  }

  const ExportedPicture& picture_;
  const PictureImages& images_;
  PdfPagePreparation preparation_;
  QFont font_;
  QRawFont rawFont_;
  int ascent_;
};

// One page the picture's size at screen resolution, or coarser where the
// picture is longer than a page may be. False when it stopped.
bool DrawOnePage(const PdfPainter& drawing, const ExportedPicture& picture, QPdfWriter& pdf, QPainter& painter,
                 WorkProgress& progress) {
  const QSize size(std::max(1, picture.width), std::max(1, picture.height));
  const double longestInches = std::max(size.width(), size.height()) / kScreenDotsPerInch;
  const double shrink = std::max(1.0, longestInches * kPointsPerInch / kLongestPagePoints);
  const int resolution = static_cast<int>(std::ceil(kScreenDotsPerInch * shrink));
  pdf.setResolution(resolution);
  const QSizeF points(size.width() * kPointsPerInch / resolution, size.height() * kPointsPerInch / resolution);
  pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                QPageLayout::Portrait, QMarginsF()));
  if (!painter.begin(&pdf)) return false;
  painter.setWindow(QRect(QPoint(0, 0), size));
  const QRect whole(QPoint(0, 0), size);
  const PdfPageContents everything = drawing.Everything();
  WriteSteps steps(progress, everything.nodes.size());
  const std::optional<PreparedPdfPage> prepared = drawing.Prepare(whole, everything, progress);
  return prepared && drawing.Draw(painter, whole, everything, *prepared, steps);
}

// The picture at screen size across A4 pages, row by row, as printing
// across pages does. False when it stopped.
bool DrawAcrossPages(const PdfPainter& drawing, const ExportedPicture& picture, QPdfWriter& pdf, QPainter& painter,
                     WorkProgress& progress) {
  pdf.setResolution(static_cast<int>(kScreenDotsPerInch));
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(kPageMarginMillimetres, kPageMarginMillimetres,
                                          kPageMarginMillimetres, kPageMarginMillimetres),
                                QPageLayout::Millimeter));
  const QSize size(std::max(1, picture.width), std::max(1, picture.height));
  if (!painter.begin(&pdf)) return false;
  const std::vector<QRect> parts = PartsAcrossPages(size, QSizeF(pdf.width(), pdf.height()));
  const std::optional<std::vector<PdfPageContents>> sorted = drawing.SortIntoParts(parts.front().size(), progress);
  if (!sorted) return false;
  const std::vector<PdfPageContents>& contents = *sorted;
  // A node on several pages counts a step on each.
  WriteSteps steps(progress, std::accumulate(contents.begin(), contents.end(), std::size_t{0},
                                             [](std::size_t sum, const PdfPageContents& page) {
                                               return sum + page.nodes.size();
                                             }));
  // The next pages are worked out on another thread while the writer draws
  // and compresses this one, which takes it longer.
  constexpr std::size_t kPagesAhead = 2;
  WorkAhead<std::optional<PreparedPdfPage>> prepared(
      parts.size(), kPagesAhead, [&](std::size_t i) { return drawing.Prepare(parts[i], contents[i], progress); });
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::optional<PreparedPdfPage> page = prepared.Take();
    if (i > 0 && !pdf.newPage()) return false;
    painter.save();
    painter.translate(-parts[i].topLeft());
    const bool drawn = page && drawing.Draw(painter, parts[i], contents[i], *page, steps);
    painter.restore();
    if (!drawn) return false;
  }
  return true;
}

}  // namespace

bool WritePdf(const ExportedPicture& picture, bool acrossPages, QIODevice& out, WorkProgress& progress) {
  return WritePdfDocument(out, [&](QPdfWriter& pdf, QPainter& painter) {
    pdf.setCreator(QStringLiteral("Mapvine"));
    pdf.setTitle(QStringLiteral("APPN topology"));
    const PdfPainter drawing(picture);
    return acrossPages ? DrawAcrossPages(drawing, picture, pdf, painter, progress)
                       : DrawOnePage(drawing, picture, pdf, painter, progress);
  }, progress);
}

}  // namespace mapvine
