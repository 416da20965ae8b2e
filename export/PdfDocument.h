#pragma once

#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

#include "base/WorkerThread.h"

namespace mapvine {

// How a PDF's pages are drawn: `painter` not yet begun on `pdf`. False
// when it failed or stopped.
using PdfDrawing = std::function<bool(QPdfWriter& pdf, QPainter& painter)>;

// Writes a PDF onto `file` through Qt's writer, drawn by `draw`, in a way
// that a stop never waits for: the writer compresses each page as it
// closes it and the last one only as it ends, which for a large one-page
// PDF is much of the whole time and cannot be cut short. So the document
// is drawn and ended on a thread of its own (Qt's fonts belong to the
// thread that used them) while this one watches `progress`: once the
// drawing is over (it heeds `progress` itself and is done with what it
// reads), a stop turns the file away from the writer, which then ends
// alone into nowhere, and this returns at once. True once the document is
// complete on `file`; false when it failed or stopped, and `file` is no
// longer written to from then on.
bool WritePdfDocument(QIODevice& file, const PdfDrawing& draw, const WorkProgress& progress);

}  // namespace mapvine
