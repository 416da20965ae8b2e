#pragma once

#include <QIODevice>

#include "export/ExportedPicture.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// One writer per format. Each writes `picture` to `out`, a device open for
// writing, and answers false when a write failed. The picture formats draw
// from the document's images; the graph formats need only the picture.

// SVG: the background and each distinct icon embedded once as PNG and
// referenced, links as lines in their status colour, labels as text; every
// node and link a group carrying its name, kind and status, with a title.
bool WriteSvg(const CMapvineDoc& doc, const ExportedPicture& picture, QIODevice& out);
// PDF, in vector form with real text: one page the picture's size, or the
// picture at screen size across A4 pages.
bool WritePdf(const CMapvineDoc& doc, const ExportedPicture& picture, bool acrossPages, QIODevice& out);
// GraphML, for Gephi, Cytoscape and yEd.
bool WriteGraphMl(const ExportedPicture& picture, QIODevice& out);
// Graphviz DOT, with positions `neato -n2` keeps.
bool WriteDot(const ExportedPicture& picture, QIODevice& out);
// JSON after docs/export.schema.json.
bool WriteJson(const ExportedPicture& picture, QIODevice& out);

}  // namespace mapvine
