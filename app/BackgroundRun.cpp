#include "app/BackgroundRun.h"

#include <utility>

namespace mapvine {

namespace {

// How often the GUI thread looks at the worker: often enough for a smooth
// bar and a prompt end, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 50;

}  // namespace

BackgroundRun::BackgroundRun(StatusProgress& progress, OnStop onStop) : progress_(progress), onStop_(onStop) {
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &BackgroundRun::Poll);
}

// The workers are asked to stop and let go of: the GUI thread never waits
// for them. Work followed to its end (it tidies up after a stop) is
// finished at the program's end.
BackgroundRun::~BackgroundRun() = default;

void BackgroundRun::Start(std::string_view stage, WorkerThread::Work work, std::function<void(End)> ended) {
  worker_ = std::make_unique<WorkerThread>(std::move(work), onStop_ == OnStop::FollowToTheEnd
                                                                ? WorkerThread::AtProgramEnd::Finish
                                                                : WorkerThread::AtProgramEnd::Abandon);
  ended_ = std::move(ended);
  stopAsked_ = false;
  progress_.Begin(stage, 100);
  poll_.start();
}

void BackgroundRun::Stop() {
  if (!worker_) return;
  stopAsked_ = true;
  worker_->RequestStop();
}

void BackgroundRun::Poll() {
  std::erase_if(abandoned_, [](const std::unique_ptr<WorkerThread>& worker) { return worker->Done(); });
  if (!worker_) {
    if (abandoned_.empty()) poll_.stop();
    return;
  }
  if (worker_->Done()) {
    worker_->Join();
    worker_.reset();
    Report(stopAsked_ ? End::EndedAfterStop : End::Finished);
  } else if (stopAsked_ && onStop_ == OnStop::LetGo) {
    abandoned_.push_back(std::move(worker_));
    Report(End::Stopped);
  } else {
    progress_.Step(worker_->Percent());
  }
}

void BackgroundRun::Report(End end) {
  if (abandoned_.empty()) poll_.stop();
  progress_.End();
  // The command may start another run from here.
  std::exchange(ended_, nullptr)(end);
}

}  // namespace mapvine
