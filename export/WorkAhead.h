#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace mapvine {

// Works items 0 to count - 1 out in order on one thread of its own, while
// the caller takes them in the same order and uses them: at most `ahead`
// finished items wait, so memory stays bounded however slow the caller is.
// One long-lived thread rather than one per item keeps what a thread
// caches (Qt's fonts, for one) from item to item. Where no thread can be
// started, `Take` works each item out itself.
template <typename Item>
class WorkAhead {
 public:
  WorkAhead(std::size_t count, std::size_t ahead, std::function<Item(std::size_t)> work)
      : count_(count), ahead_(ahead < 1 ? 1 : ahead), work_(std::move(work)) {
    try {
      worker_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      // Taken one by one on the caller's thread instead.
    }
  }

  ~WorkAhead() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  WorkAhead(const WorkAhead&) = delete;
  WorkAhead& operator=(const WorkAhead&) = delete;

  // The next item in order; the caller takes at most `count` of them.
  Item Take() {
    if (!worker_.joinable()) return work_(taken_++);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !ready_.empty(); });
    Item item = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return item;
  }

 private:
  void Run() {
    for (std::size_t i = 0; i < count_; ++i) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || ready_.size() < ahead_; });
        if (stopping_) return;
      }
      Item item = work_(i);
      {
        const std::lock_guard lock(mutex_);
        ready_.push_back(std::move(item));
      }
      changed_.notify_all();
    }
  }

  const std::size_t count_;
  const std::size_t ahead_;
  const std::function<Item(std::size_t)> work_;
  std::size_t taken_ = 0;  // without a thread only
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Item> ready_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace mapvine
