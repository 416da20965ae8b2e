#pragma once

#include <QColor>
#include <QGlyphRun>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

#include "base/WorkerThread.h"
#include "export/ExportedPicture.h"
#include "export/NameShaping.h"

namespace mapvine {

// Link widths go in eighths of a pixel: each width a page holds costs the
// PDF writer a change of pen, and finer steps than an eighth of a pixel
// (0.03 mm on paper) made one for nearly every piece.
inline constexpr int kPdfWidthSteps = 8;
// How far outside a page a line's piece still counts, in picture pixels:
// more than half a line's width, so a line along the page's edge is drawn.
inline constexpr double kPdfLineReach = 2.0;

// The nodes and links a page shows, by their numbers in the picture.
struct PdfPageContents {
  std::vector<int> nodes;
  std::vector<int> links;
};

// Link pieces of one colour and width, drawn as one path in page-relative
// pixels; at most kPdfPiecesAGroup of them, so that the writer can stop
// between two paths soon.
inline constexpr std::size_t kPdfPiecesAGroup = 4096;
struct PdfPenGroup {
  QRgb colour = 0;
  int width = 0;  // in 1/kPdfWidthSteps pixel
  QPainterPath path;
};

// A label laid out: where its glyphs lie among its page's (each placed
// from the label's baseline origin), and how far the text reaches. None
// for a label the page does not show.
struct ShapedLabel {
  qsizetype first = 0;
  qsizetype count = 0;
  double width = 0;
  // Laid out in more than one face (a character the label face lacks): the
  // writer lays such a label out itself, a run for each face.
  bool mixedFaces = false;
};

// `text` laid out in `font`, one run of glyphs per face, each glyph on the
// whole pixel at or before its place, from the text's baseline origin;
// `width`, if asked for, is how far the text reaches.
QList<QGlyphRun> PlacedGlyphRuns(const QString& text, const QFont& font, double* width = nullptr);

// What one page draws, worked out ahead of the PDF writer: the pieces of
// its links, grouped by pen in the picture's order, and a label for each of
// its nodes, their glyphs kept together (a page holds thousands, and a
// list of its own for each cost more than laying it out).
struct PreparedPdfPage {
  std::vector<PdfPenGroup> links;
  std::vector<ShapedLabel> labels;
  QList<quint32> glyphs;
  QList<QPointF> positions;
};

// Works pages out on any thread: it keeps its own copy of the lines and
// labels it needs, so that it never reads the document, and `Prepare` only
// reads that copy.
class PdfPagePreparation {
 public:
  explicit PdfPagePreparation(const ExportedPicture& picture);

  // None once `progress` asks to stop: it looks after every link and
  // label, as a page may hold them all.
  std::optional<PreparedPdfPage> Prepare(const QRect& area, const PdfPageContents& contents,
                                         const WorkProgress& progress) const;

  // Each link's line by its number in the picture.
  const LinkStroke& StrokeOf(int link) const { return lines_[static_cast<std::size_t>(link)].stroke; }

 private:
  std::optional<std::vector<PdfPenGroup>> CutLinks(const QRect& area, const std::vector<int>& links,
                                                  const WorkProgress& progress) const;

  struct LinkLine {
    LinkStroke stroke;
    QRgb colour;
  };
  std::vector<LinkLine> lines_;
  std::vector<QString> labels_;
  std::vector<QRect> labelBands_;  // where each node's label may show
  NameShaping names_;
};

}  // namespace mapvine
