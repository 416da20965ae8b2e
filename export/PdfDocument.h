#pragma once

#include <QIODevice>
#include <QMutex>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

#include "base/WorkerThread.h"

namespace mapvine {

// A PDF that Qt's writer draws onto a file and that can be abandoned at
// any moment. The writer compresses each page as it closes it, and the
// last one only as it ends: for a large one-page PDF that is much of the
// whole time, and no part of it can be cut short. So the document ends on
// a thread of its own while the export watches its stop flag; a stop
// turns the file away from the writer, which then ends alone into
// nowhere, and the export goes on at once.
class PdfDocument {
 public:
  // A document drawn onto `file`, which must stay open until End returns.
  static std::shared_ptr<PdfDocument> Open(QIODevice& file);

  QPdfWriter& Writer() { return writer_; }
  QPainter& Painter() { return painter_; }

  // Ends `document`, whose pages are drawn if `drawn`: true once it is
  // complete on the file; false when it failed or `progress` asked to stop
  // first, and the file is no longer written to from then on.
  static bool End(std::shared_ptr<PdfDocument> document, bool drawn, const WorkProgress& progress);

 private:
  // Where the writer's bytes go: the file, until it is turned away.
  class Output final : public QIODevice {
   public:
    explicit Output(QIODevice& file);
    void TurnAway();

   protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char* data, qint64 size) override;

   private:
    QMutex mutex_;
    QIODevice* file_;  // none once turned away
  };

  explicit PdfDocument(QIODevice& file);

  // Ends the painter on a thread of its own, which owns the document.
  static void EndAlone(std::shared_ptr<PdfDocument> document);

  Output output_;
  QPdfWriter writer_;
  QPainter painter_;
};

}  // namespace mapvine
