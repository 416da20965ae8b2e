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

  // What the program's end does with the worker if it is still running
  // then: waits for work that must tidy up after a stop (a file it wrote
  // in part), or leaves work that has nothing to tidy to the process's end.
  enum class AtProgramEnd { Finish, Abandon };

  WorkerThread(Work work, AtProgramEnd atProgramEnd);
  // Asks the work to stop and lets the thread finish alone: it never waits.
  // A thread that must finish is kept to be joined later, so that it has
  // wholly ended (Qt tidies its threads as they exit) before Qt does.
  ~WorkerThread();

  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  bool Done() const;
  int Percent() const { return shared_->progress.percent.load(std::memory_order_relaxed); }
  void RequestStop() { shared_->progress.stopRequested.store(true); }
  // After Done(): the thread's end, and with it what the work left.
  void Join() { thread_.join(); }

  // For the program's end, once its windows are gone and before Qt goes:
  // waits, at most `longest`, for the workers let go of whose work must
  // finish, and joins them; false when some still run.
  static bool FinishLetGoWorkers(std::chrono::milliseconds longest);
  // Joins the workers let go of that have ended since, which a thread
  // holds until it is joined. Never on the GUI thread: a join waits for
  // the thread's own tidying as it exits.
  static void JoinEndedLetGoWorkers();

 private:
  struct Shared {
    WorkProgress progress;
    mutable std::mutex mutex;
    bool done = false;  // under mutex
    bool exiting = false;  // under the let-go workers' mutex; only for AtProgramEnd::Finish
  };

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  AtProgramEnd atProgramEnd_;
};

// Finishes, at its own end, the workers let go of that must finish (at
// most kLongestWait): the program declares one before its windows.
struct WorkersFinishFirst {
  static constexpr std::chrono::milliseconds kLongestWait{5000};
  WorkersFinishFirst() = default;
  WorkersFinishFirst(const WorkersFinishFirst&) = delete;
  WorkersFinishFirst& operator=(const WorkersFinishFirst&) = delete;
  ~WorkersFinishFirst() { WorkerThread::FinishLetGoWorkers(kLongestWait); }
};

}  // namespace mapvine
