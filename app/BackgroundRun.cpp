#include "app/BackgroundRun.h"

#include <utility>

namespace mapvine {

namespace {

// How often the GUI thread looks at the worker: often enough for a smooth
// bar, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 50;

}  // namespace

BackgroundRun::BackgroundRun(StatusProgress& progress, std::chrono::milliseconds longestWaitAtEnd)
    : progress_(progress), longestWaitAtEnd_(longestWaitAtEnd) {
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &BackgroundRun::Poll);
}

// The workers are asked to stop and waited for a moment at most each.
BackgroundRun::~BackgroundRun() = default;

void BackgroundRun::Start(std::string_view stage, WorkerThread::Work work, std::function<void(End)> ended) {
  worker_ = std::make_unique<WorkerThread>(std::move(work), longestWaitAtEnd_);
  ended_ = std::move(ended);
  stopAsked_ = false;
  progress_.Begin(stage, 100);
  poll_.start();
}

void BackgroundRun::Poll() {
  std::erase_if(abandoned_, [](const std::unique_ptr<WorkerThread>& worker) { return worker->Done(); });
  if (!worker_) {
    if (abandoned_.empty()) poll_.stop();
    return;
  }
  if (!stopAsked_ && !worker_->Done()) {
    progress_.Step(worker_->Percent());
    return;
  }
  std::unique_ptr<WorkerThread> worker = std::move(worker_);
  End end = End::Finished;
  if (!worker->Done()) {
    end = End::Stopped;
    worker->RequestStop();
    abandoned_.push_back(std::move(worker));
  } else {
    if (stopAsked_) end = End::FinishedDespiteStop;
    worker->Join();
  }
  if (abandoned_.empty()) poll_.stop();
  progress_.End();
  // The command may start another run from here.
  std::exchange(ended_, nullptr)(end);
}

}  // namespace mapvine
