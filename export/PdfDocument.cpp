#include "export/PdfDocument.h"

#include <QMutex>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "export/FastDeflate.h"

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
    // The writer deflates each page as it closes it, on this thread.
    const FastDeflateOnThisThread fastPages;
    std::optional<QPdfWriter> writer(std::in_place, &output);
    std::optional<QPainter> painter(std::in_place);
    const bool drawnOk = draw(*writer, *painter);
    if (!drawnOk) output.TurnAway();
    Say(drawn, drawnOk);
    const bool complete = painter->isActive() && painter->end();
    // The writer and its fonts go on the thread they belong to.
    painter.reset();
    writer.reset();
    Say(ended, drawnOk && complete);
  }

  void Say(std::optional<bool>& what, bool value) {
    const std::lock_guard lock(mutex);
    what = value;
    changed.notify_all();
  }

  Output output;
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<bool> drawn;  // under mutex
  std::optional<bool> ended;  // under mutex
};

}  // namespace

bool WritePdfDocument(QIODevice& file, const PdfDrawing& draw, const WorkProgress& progress) {
  // Writers let go of after earlier stops are done with by now.
  WorkerThread::JoinEndedLetGoWorkers();
  const auto document = std::make_shared<Document>(file);
  std::optional<WorkerThread> writing;
  try {
    // Let go of on a stop; the program's end still finishes it, so that
    // Qt does not end under it.
    writing.emplace([document, &draw](WorkProgress&) { document->Write(draw); }, WorkerThread::AtProgramEnd::Finish);
  } catch (const std::system_error&) {
    return false;
  }
  std::unique_lock lock(document->mutex);
  document->changed.wait(lock, [&] { return document->drawn.has_value(); });
  if (!*document->drawn) return false;
  while (!document->ended) {
    if (progress.Stopped()) {
      lock.unlock();
      document->output.TurnAway();
      return false;
    }
    document->changed.wait_for(lock, kStopLook);
  }
  const bool complete = *document->ended;
  lock.unlock();
  // Its fonts are gone with the thread before the export goes on.
  writing->Join();
  return complete;
}

}  // namespace mapvine
