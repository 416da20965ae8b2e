#include "refresh/TaskQueue.h"

#include <algorithm>

namespace mapvine {
namespace {

// While timed tasks wait, the queue looks at the clock at least this often,
// so that a clock moved by hand is noticed too.
constexpr auto kLongestWait = std::chrono::milliseconds(20);

}  // namespace

TaskQueue::TaskQueue(std::function<Clock::time_point()> now) : now_(std::move(now)) {}

void TaskQueue::Post(std::function<void()> task) {
  {
    const std::lock_guard lock(mutex_);
    ready_.push_back(std::move(task));
  }
  posted_.notify_all();
}

void TaskQueue::PostAfter(int milliseconds, std::function<void()> task) {
  const Clock::time_point due = now_() + std::chrono::milliseconds(std::max(milliseconds, 0));
  const std::lock_guard lock(mutex_);
  timed_.emplace(due, std::move(task));
}

std::function<void()> TaskQueue::Next() {
  const std::lock_guard lock(mutex_);
  if (!ready_.empty()) {
    std::function<void()> task = std::move(ready_.front());
    ready_.pop_front();
    return task;
  }
  if (!timed_.empty() && timed_.begin()->first <= now_()) {
    std::function<void()> task = std::move(timed_.begin()->second);
    timed_.erase(timed_.begin());
    return task;
  }
  return {};
}

std::size_t TaskQueue::RunReady() {
  std::size_t ran = 0;
  while (std::function<void()> task = Next()) {
    task();
    ++ran;
  }
  return ran;
}

void TaskQueue::RunUntil(const std::function<bool()>& done) {
  while (true) {
    RunReady();
    if (done()) return;
    std::unique_lock lock(mutex_);
    if (!ready_.empty()) continue;
    posted_.wait_for(lock, kLongestWait, [this] { return !ready_.empty(); });
  }
}

std::size_t TaskQueue::Timed() const {
  const std::lock_guard lock(mutex_);
  return timed_.size();
}

}  // namespace mapvine
