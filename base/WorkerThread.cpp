#include "base/WorkerThread.h"

#include <utility>

namespace mapvine {

WorkerThread::WorkerThread(Work work, std::chrono::milliseconds longestWaitAtEnd)
    : shared_(std::make_shared<Shared>()), longestWaitAtEnd_(longestWaitAtEnd) {
  thread_ = std::thread([shared = shared_, work = std::move(work)] {
    work(shared->progress);
    const std::lock_guard<std::mutex> lock(shared->mutex);
    shared->done = true;
    shared->finished.notify_all();
  });
}

WorkerThread::~WorkerThread() {
  if (!thread_.joinable()) return;
  RequestStop();
  std::unique_lock<std::mutex> lock(shared_->mutex);
  const bool done = shared_->finished.wait_for(lock, longestWaitAtEnd_, [this] { return shared_->done; });
  lock.unlock();
  if (done) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

bool WorkerThread::Done() const {
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->done;
}

}  // namespace mapvine
