#include "export/PdfDocument.h"

#include <QMutex>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <system_error>

namespace mapvine {

namespace {

// How often the export looks at its stop flag while the writer ends.
constexpr std::chrono::milliseconds kStopLook{10};

// Where the writer's bytes go: the file, until it is turned away.
class Output final : public QIODevice {
 public:
  explicit Output(QIODevice& file) : file_(&file) { open(QIODevice::WriteOnly); }

  void TurnAway() {
    const QMutexLocker lock(&mutex_);
    file_ = nullptr;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    const QMutexLocker lock(&mutex_);
    return file_ != nullptr ? file_->write(data, size) : size;
  }

 private:
  QMutex mutex_;
  QIODevice* file_;  // none once turned away
};

// What the writing thread owns, shared with the export until it returns.
struct Document {
  explicit Document(QIODevice& file) : output(file) {}

  // On the writing thread: draws, says whether it drew, ends and says
  // whether the document is complete. `draw` is not used once it said.
  void Write(const PdfDrawing& draw) {
    std::optional<QPdfWriter> writer(std::in_place, &output);
    std::optional<QPainter> painter(std::in_place);
    const bool drawnOk = draw(*writer, *painter);
    if (!drawnOk) output.TurnAway();
    drawn.set_value(drawnOk);
    const bool complete = painter->isActive() && painter->end();
    // The writer and its fonts go on the thread they belong to.
    painter.reset();
    writer.reset();
    ended.set_value(drawnOk && complete);
  }

  Output output;
  std::promise<bool> drawn;
  std::promise<bool> ended;
};

}  // namespace

bool WritePdfDocument(QIODevice& file, const PdfDrawing& draw, const WorkProgress& progress) {
  const auto document = std::make_shared<Document>(file);
  std::future<bool> drawn = document->drawn.get_future();
  std::future<bool> ended = document->ended.get_future();
  try {
    // Let go of at once; the program's end still waits for it, so that Qt
    // does not end under it.
    const WorkerThread writing([document, &draw](WorkProgress&) { document->Write(draw); },
                               WorkerThread::AtProgramEnd::Finish);
  } catch (const std::system_error&) {
    return false;
  }
  if (!drawn.get()) return false;
  while (!progress.Stopped()) {
    if (ended.wait_for(kStopLook) == std::future_status::ready) return ended.get();
  }
  document->output.TurnAway();
  return false;
}

}  // namespace mapvine
