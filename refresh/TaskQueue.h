#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "refresh/GuiThread.h"

namespace mapvine {

// A GuiThread without a window: tasks wait in a queue until the thread that
// owns it runs them. Scripts without an event loop wait on it for a refresh
// to end; tests drain it step by step and move its clock by hand.
class TaskQueue final : public GuiThread {
 public:
  explicit TaskQueue(std::function<Clock::time_point()> now = Clock::now);

  void Post(std::function<void()> task) override;
  void PostAfter(int milliseconds, std::function<void()> task) override;
  Clock::time_point Now() const override { return now_(); }

  // Runs the tasks waiting now and the timed ones that are due, including
  // those they post in turn; how many ran.
  std::size_t RunReady();
  // Runs tasks as they come until `done` holds. Only for a caller whose
  // thread has nothing else to do.
  void RunUntil(const std::function<bool()>& done);
  // Timed tasks still to come.
  std::size_t Timed() const;

 private:
  std::function<void()> Next();

  std::function<Clock::time_point()> now_;
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> ready_;
  std::multimap<Clock::time_point, std::function<void()>> timed_;
};

}  // namespace mapvine
