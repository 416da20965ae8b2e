#include "export/PdfPagePreparation.h"

#include <algorithm>
#include <cmath>

#include "export/LabelFont.h"
#include "export/NameText.h"
#include "graphics/LineDrawing.h"

namespace mapvine {

namespace {

// A link's piece on one page.
struct LinePiece {
  QLine line;  // page-relative
  int width;   // in 1/kPdfWidthSteps pixel
  QRgb colour;
};

// Lays `text` out onto the end of `page`'s glyphs: from the table of
// names where it can, else through Qt's layout.
ShapedLabel Shape(const QString& text, const QFont& font, const NameShaping& names, PreparedPdfPage& page) {
  ShapedLabel shaped{.first = page.glyphs.size()};
  if (text.isEmpty()) return shaped;
  if (names.Shape(text, page.glyphs, page.positions, shaped.width)) {
    shaped.count = page.glyphs.size() - shaped.first;
    return shaped;
  }
  const QList<QGlyphRun> runs = PlacedGlyphRuns(text, font, &shaped.width);
  shaped.mixedFaces = runs.size() > 1;
  if (runs.size() != 1) return shaped;
  page.glyphs.append(runs.front().glyphIndexes());
  page.positions.append(runs.front().positions());
  shaped.count = page.glyphs.size() - shaped.first;
  return shaped;
}

}  // namespace

QList<QGlyphRun> PlacedGlyphRuns(const QString& text, const QFont& font, double* width) {
  QList<QGlyphRun> runs = LaidOutGlyphRuns(text, font, width);
  // Each glyph on the whole pixel at or before its place, as the picture
  // draws it: the writer puts a glyph's place down in a digit or two where
  // a fraction takes ten, and a reader takes a gap the face's own advances
  // do not explain for a space. The layout's baseline lies at the line's
  // ascent; the writer takes the glyphs from the label's own baseline.
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& position : positions) position = QPointF(std::floor(position.x()), 0);
    run.setPositions(positions);
  }
  return runs;
}

PdfPagePreparation::PdfPagePreparation(const ExportedPicture& picture) : names_(LabelFont()) {
  lines_.reserve(picture.links.size());
  for (const ExportedLink& link : picture.links) {
    const PaletteEntry colour = CLink::ColorOf(link.status);
    lines_.push_back({mapvine::StrokeOf(link), qRgb(colour.red, colour.green, colour.blue)});
  }
  labels_.reserve(picture.nodes.size());
  labelBands_.reserve(picture.nodes.size());
  for (const ExportedNode& node : picture.nodes) {
    labels_.push_back(NameToQt(node.label));
    const Rect& band = node.labelArea;
    labelBands_.emplace_back(band.left, band.top, band.Width(), band.Height());
  }
}

std::optional<PreparedPdfPage> PdfPagePreparation::Prepare(const QRect& area, const PdfPageContents& contents,
                                                          const WorkProgress& progress) const {
  PreparedPdfPage page;
  std::optional<std::vector<PdfPenGroup>> links = CutLinks(area, contents.links, progress);
  if (!links) return std::nullopt;
  page.links = std::move(*links);
  const QFont font = LabelFont();
  page.labels.reserve(contents.nodes.size());
  for (const int node : contents.nodes) {
    if (progress.Stopped()) return std::nullopt;
    const auto number = static_cast<std::size_t>(node);
    // A label under an icon near the page's edge may lie on the next page.
    page.labels.push_back(labelBands_[number].intersects(area) ? Shape(labels_[number], font, names_, page)
                                                               : ShapedLabel{.first = page.glyphs.size()});
  }
  return page;
}

// The links as pieces cut to the page and placed to the whole pixel: the
// PDF writer puts a whole number down in three or four digits where it
// takes ten for a fraction, and a page of a large picture holds thousands
// of pieces. Half a pixel (0.13 mm on paper) is less than a line's width;
// the ends at nodes lie under their icons, and the ends cut at the page's
// edge lie outside it, under its clip. Pieces of one
// colour may go down in any order, so within each run of one colour those
// of one width are one path; the runs keep the picture's order, where a
// later line covers an earlier one.
std::optional<std::vector<PdfPenGroup>> PdfPagePreparation::CutLinks(const QRect& area, const std::vector<int>& links,
                                                                     const WorkProgress& progress) const {
  std::vector<LinePiece> pieces;
  pieces.reserve(links.size());
  const auto whole = [](double v) { return static_cast<int>(std::lround(v)); };
  for (const int number : links) {
    if (progress.Stopped()) return std::nullopt;
    const LinkLine& link = lines_[static_cast<std::size_t>(number)];
    Segment part{link.stroke.from.x(), link.stroke.from.y(), link.stroke.to.x(), link.stroke.to.y()};
    if (!ClipSegment(part, area.left() - kPdfLineReach, area.top() - kPdfLineReach,
                     area.left() + area.width() + kPdfLineReach, area.top() + area.height() + kPdfLineReach)) {
      continue;
    }
    pieces.push_back({QLine(whole(part.x0 - area.left()), whole(part.y0 - area.top()), whole(part.x1 - area.left()),
                            whole(part.y1 - area.top())),
                      whole(link.stroke.width * kPdfWidthSteps), link.colour});
  }
  std::vector<PdfPenGroup> groups;
  for (auto run = pieces.begin(); run != pieces.end();) {
    const auto runEnd = std::find_if(run, pieces.end(), [&](const LinePiece& p) { return p.colour != run->colour; });
    std::sort(run, runEnd, [](const LinePiece& a, const LinePiece& b) { return a.width < b.width; });
    std::size_t inGroup = 0;
    for (auto piece = run; piece != runEnd; ++piece) {
      if (piece == run || piece->width != groups.back().width || inGroup == kPdfPiecesAGroup) {
        if (progress.Stopped()) return std::nullopt;
        groups.push_back({piece->colour, piece->width, {}});
        // Each piece is two points, known before the path grows.
        const auto sameWidth = std::find_if(piece, runEnd, [&](const LinePiece& p) { return p.width != piece->width; });
        groups.back().path.reserve(2 * static_cast<int>(std::min<std::ptrdiff_t>(sameWidth - piece, kPdfPiecesAGroup)));
        inGroup = 0;
      }
      groups.back().path.moveTo(piece->line.p1());
      groups.back().path.lineTo(piece->line.p2());
      ++inGroup;
    }
    run = runEnd;
  }
  return groups;
}

}  // namespace mapvine
