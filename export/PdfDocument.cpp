#include "export/PdfDocument.h"

#include <chrono>
#include <future>
#include <utility>

namespace mapvine {

namespace {

// How often the export looks at its stop flag while the writer ends.
constexpr std::chrono::milliseconds kStopLook{10};

}  // namespace

PdfDocument::Output::Output(QIODevice& file) : file_(&file) { open(QIODevice::WriteOnly); }

void PdfDocument::Output::TurnAway() {
  const QMutexLocker lock(&mutex_);
  file_ = nullptr;
}

qint64 PdfDocument::Output::readData(char*, qint64) { return -1; }

qint64 PdfDocument::Output::writeData(const char* data, qint64 size) {
  const QMutexLocker lock(&mutex_);
  return file_ != nullptr ? file_->write(data, size) : size;
}

PdfDocument::PdfDocument(QIODevice& file) : output_(file), writer_(&output_) {}

std::shared_ptr<PdfDocument> PdfDocument::Open(QIODevice& file) {
  return std::shared_ptr<PdfDocument>(new PdfDocument(file));
}

void PdfDocument::EndAlone(std::shared_ptr<PdfDocument> document) {
  // Let go of at once; the program's end still waits for it, so that Qt
  // does not end under it.
  const WorkerThread ending([document = std::move(document)](WorkProgress&) { document->painter_.end(); },
                            WorkerThread::AtProgramEnd::Finish);
}

bool PdfDocument::End(std::shared_ptr<PdfDocument> document, bool drawn, const WorkProgress& progress) {
  if (!document->painter_.isActive()) return false;
  if (!drawn || progress.Stopped()) {
    document->output_.TurnAway();
    EndAlone(std::move(document));
    return false;
  }
  auto ended = std::make_shared<std::promise<bool>>();
  std::future<bool> complete = ended->get_future();
  const WorkerThread ending(
      [document, ended](WorkProgress&) { ended->set_value(document->painter_.end()); },
      WorkerThread::AtProgramEnd::Finish);
  while (complete.wait_for(kStopLook) != std::future_status::ready) {
    if (progress.Stopped()) {
      document->output_.TurnAway();
      return false;
    }
  }
  return complete.get();
}

}  // namespace mapvine
