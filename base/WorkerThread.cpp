#include "base/WorkerThread.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace mapvine {

namespace {

// The workers let go of whose work must finish before the program ends:
// their threads, to be joined, and whether each is exiting (its work and
// everything it owned are gone). Never destroyed: a worker may still end
// after the program's statics are gone.
struct LetGoWorkers {
  std::mutex mutex;
  std::condition_variable exiting;
  std::vector<std::pair<std::thread, std::shared_ptr<const bool>>> threads;  // under mutex
};

LetGoWorkers& LetGo() {
  static auto* const workers = new LetGoWorkers;
  return *workers;
}

// Joins the let-go threads already exiting, and those still running too
// when `all`, which must then be exiting or stay for the process's end.
void JoinLetGo(std::unique_lock<std::mutex>& lock, bool all) {
  std::vector<std::pair<std::thread, std::shared_ptr<const bool>>> kept;
  std::vector<std::thread> joined;
  for (auto& [thread, exiting] : LetGo().threads) {
    if (*exiting) {
      joined.push_back(std::move(thread));
    } else if (all) {
      thread.detach();
    } else {
      kept.emplace_back(std::move(thread), std::move(exiting));
    }
  }
  LetGo().threads = std::move(kept);
  lock.unlock();
  for (std::thread& thread : joined) thread.join();
}

}  // namespace

WorkerThread::WorkerThread(Work work, AtProgramEnd atProgramEnd)
    : shared_(std::make_shared<Shared>()), atProgramEnd_(atProgramEnd) {
  thread_ = std::thread([shared = shared_, work = std::move(work), atProgramEnd]() mutable {
    {
      // What the work owns goes with it, before anyone hears it ended.
      const Work mine = std::exchange(work, nullptr);
      mine(shared->progress);
    }
    {
      const std::lock_guard lock(shared->mutex);
      shared->done = true;
    }
    if (atProgramEnd == AtProgramEnd::Finish) {
      const std::lock_guard lock(LetGo().mutex);
      shared->exiting = true;
      LetGo().exiting.notify_all();
    }
  });
}

WorkerThread::~WorkerThread() {
  if (!thread_.joinable()) return;
  RequestStop();
  if (atProgramEnd_ == AtProgramEnd::Abandon) {
    thread_.detach();
    return;
  }
  const std::lock_guard lock(LetGo().mutex);
  LetGo().threads.emplace_back(std::move(thread_), std::shared_ptr<const bool>(shared_, &shared_->exiting));
}

bool WorkerThread::Done() const {
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->done;
}

bool WorkerThread::FinishLetGoWorkers(std::chrono::milliseconds longest) {
  std::unique_lock lock(LetGo().mutex);
  const bool finished = LetGo().exiting.wait_for(lock, longest, [] {
    return std::all_of(LetGo().threads.begin(), LetGo().threads.end(),
                       [](const auto& letGo) { return *letGo.second; });
  });
  JoinLetGo(lock, true);
  return finished;
}

void WorkerThread::JoinEndedLetGoWorkers() {
  std::unique_lock lock(LetGo().mutex);
  JoinLetGo(lock, false);
}

}  // namespace mapvine
