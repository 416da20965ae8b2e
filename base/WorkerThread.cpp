#include "base/WorkerThread.h"

#include <utility>

namespace mapvine {

namespace {

// The workers whose work must finish before the program ends, counted
// across threads. Never destroyed: a worker may still end after the
// program's statics are gone.
struct FinishingWorkers {
  std::mutex mutex;
  std::condition_variable ended;
  int running = 0;  // under mutex
};

FinishingWorkers& Finishing() {
  static auto* const workers = new FinishingWorkers;
  return *workers;
}

}  // namespace

WorkerThread::WorkerThread(Work work, AtProgramEnd atProgramEnd) : shared_(std::make_shared<Shared>()) {
  const bool counted = atProgramEnd == AtProgramEnd::Finish;
  if (counted) {
    const std::lock_guard lock(Finishing().mutex);
    ++Finishing().running;
  }
  const auto uncount = [counted] {
    if (!counted) return;
    const std::lock_guard lock(Finishing().mutex);
    --Finishing().running;
    Finishing().ended.notify_all();
  };
  try {
    thread_ = std::thread([shared = shared_, work = std::move(work), uncount]() mutable {
      {
        // What the work owns goes with it, before anyone hears it ended.
        const Work mine = std::exchange(work, nullptr);
        mine(shared->progress);
      }
      {
        const std::lock_guard lock(shared->mutex);
        shared->done = true;
      }
      uncount();
    });
  } catch (...) {
    uncount();
    throw;
  }
}

WorkerThread::~WorkerThread() {
  if (!thread_.joinable()) return;
  RequestStop();
  thread_.detach();
}

bool WorkerThread::Done() const {
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->done;
}

bool WorkerThread::FinishLetGoWorkers(std::chrono::milliseconds longest) {
  std::unique_lock lock(Finishing().mutex);
  return Finishing().ended.wait_for(lock, longest, [] { return Finishing().running == 0; });
}

}  // namespace mapvine
