#include "app/ArrangeCommand.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "view/CommandIds.h"

namespace mapvine {

namespace {

// How often the GUI thread looks at the worker: often enough for a smooth
// bar, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 50;

}  // namespace

// What a worker works on and leaves behind. The worker holds it too, so a
// worker the command stopped waiting for never touches freed memory.
struct ArrangeWork {
  CapturedPicture captured;
  ArrangeProgress progress;
  std::optional<Arrangement> result;
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;  // under mutex
};

struct ArrangeCommand::Job {
  std::shared_ptr<ArrangeWork> work;
  std::thread worker;

  Job(CapturedPicture picture, const Layout& layout) : work(std::make_shared<ArrangeWork>()) {
    work->captured = std::move(picture);
    worker = std::thread([work = work, layout] {
      std::optional<Arrangement> result = layout(work->captured.graph, work->progress);
      const std::lock_guard<std::mutex> lock(work->mutex);
      work->result = std::move(result);
      work->done = true;
      work->finished.notify_all();
    });
  }
  // Asks the worker to stop and waits for it a moment at most; one still
  // inside the layout library is left to finish on its own.
  ~Job() {
    if (!worker.joinable()) return;
    work->progress.stopRequested.store(true);
    std::unique_lock<std::mutex> lock(work->mutex);
    const bool done = work->finished.wait_for(lock, kLongestWaitAtEnd, [this] { return work->done; });
    lock.unlock();
    if (done) {
      worker.join();
    } else {
      worker.detach();
    }
  }
  bool Done() const {
    const std::lock_guard<std::mutex> lock(work->mutex);
    return work->done;
  }
};

ArrangeCommand::ArrangeCommand(CMapvineDoc& doc, EditHistory& edits, StatusProgress& progress, Layout layout)
    : doc_(doc), edits_(edits), progress_(progress), layout_(std::move(layout)) {
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &ArrangeCommand::Poll);
}

ArrangeCommand::~ArrangeCommand() = default;

void ArrangeCommand::BindCommands(CommandBindings& commands) {
  // Not while a refresh (which shows the same progress) changes the picture.
  commands.Bind(command::kArrangeByConnections, [this] { Start(); }, [this] {
    return CommandState{.enabled = !Running() && !progress_.Running() && doc_.Nodes().size() > 0, .checked = false};
  });
  commands.Bind(
      command::kPlaceNewNearNeighbours,
      [this] {
        doc_.placeNewNearNeighbours = !doc_.placeNewNearNeighbours;
        doc_.SetModified(true);
      },
      [this] { return CommandState{.enabled = doc_.arranged, .checked = doc_.arranged && doc_.placeNewNearNeighbours}; });
}

void ArrangeCommand::Start() {
  job_ = std::make_unique<Job>(CapturePicture(doc_), layout_);
  stopAsked_ = false;
  progress_.Begin("Arrange", 100);
  poll_.start();
}

void ArrangeCommand::Poll() {
  ReapAbandoned();
  if (!job_) {
    if (abandoned_.empty()) poll_.stop();
    return;
  }
  if (stopAsked_) {
    job_->work->progress.stopRequested.store(true);
    abandoned_.push_back(std::move(job_));
    progress_.End();
    doc_.ShowStatusText("Arrange stopped; the picture is unchanged");
    if (finished) finished();
    return;
  }
  if (!job_->Done()) {
    progress_.Step(job_->work->progress.percent.load(std::memory_order_relaxed));
    return;
  }
  Finish();
}

void ArrangeCommand::Finish() {
  const std::unique_ptr<Job> job = std::move(job_);
  job->worker.join();
  progress_.End();
  const ArrangeWork& work = *job->work;
  if (!work.result) {
    doc_.ShowStatusText("The picture could not be arranged");
  } else {
    edits_.Begin(true);
    ApplyArrangement(doc_, work.captured, *work.result);
    edits_.End(QString::fromUtf8(kEditName));
    doc_.ShowStatusText("Arranged " + std::to_string(work.captured.nodes.size()) + " nodes by their connections");
  }
  if (abandoned_.empty()) poll_.stop();
  if (finished) finished();
}

void ArrangeCommand::ReapAbandoned() {
  std::erase_if(abandoned_, [](const std::unique_ptr<Job>& job) { return job->Done(); });
}

}  // namespace mapvine
