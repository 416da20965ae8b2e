#pragma once

#include <QIODevice>

#include "base/WorkerThread.h"
#include "export/ExportedPicture.h"

namespace mapvine {

// One writer per format, each safe to run on any thread. Each writes
// `picture` to `out`, a device open for writing, counting what it wrote
// into `progress`, and answers false when a write failed or the progress
// asked it to stop.

// SVG: the background and each distinct icon embedded once as PNG and
// referenced, links as lines in their status colour, labels as text; every
// node and link a group carrying its name, kind and status, with a title.
bool WriteSvg(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress);
// PDF, in vector form with real text: one page the picture's size, or the
// picture at screen size across A4 pages.
bool WritePdf(const ExportedPicture& picture, bool acrossPages, QIODevice& out, WorkProgress& progress);
// GraphML, for Gephi, Cytoscape and yEd.
bool WriteGraphMl(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress);
// Graphviz DOT, with positions `neato -n2` keeps.
bool WriteDot(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress);
// JSON after docs/export.schema.json.
bool WriteJson(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress);

}  // namespace mapvine
