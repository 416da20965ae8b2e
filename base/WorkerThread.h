#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace mapvine {

// How far a piece of work on another thread got, and whether the person
// asked it to stop; read and written across threads.
struct WorkProgress {
  std::atomic<int> percent{0};
  std::atomic<bool> stopRequested{false};

  bool Stopped() const { return stopRequested.load(std::memory_order_relaxed); }
  void Reach(int done) { percent.store(done, std::memory_order_relaxed); }
};

// One piece of work on a thread of its own, started at construction. The
// work owns everything it touches (it holds it, shared, in its closure), so
// a worker let go of at the end never touches freed memory. What the work
// leaves behind is the caller's to read once Done() is true.
class WorkerThread {
 public:
  using Work = std::function<void(WorkProgress&)>;

  // `longestWaitAtEnd`: how long the end waits, after asking the work to
  // stop, for work that does not look at the stop flag often; work still
  // busy after that is left to finish alone.
  WorkerThread(Work work, std::chrono::milliseconds longestWaitAtEnd);
  ~WorkerThread();

  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  bool Done() const;
  int Percent() const { return shared_->progress.percent.load(std::memory_order_relaxed); }
  void RequestStop() { shared_->progress.stopRequested.store(true); }
  // After Done(): the thread's end, and with it what the work left.
  void Join() { thread_.join(); }

 private:
  struct Shared {
    WorkProgress progress;
    mutable std::mutex mutex;
    std::condition_variable finished;
    bool done = false;  // under mutex
  };

  std::shared_ptr<Shared> shared_;
  std::chrono::milliseconds longestWaitAtEnd_;
  std::thread thread_;
};

}  // namespace mapvine
