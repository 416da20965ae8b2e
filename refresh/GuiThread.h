#pragma once

#include <chrono>
#include <functional>
#include <utility>

namespace mapvine {

// "Run this on the GUI thread": how work finished on a worker thread comes
// back to the thread that alone reads and changes the document. The window
// implements it with its event loop; tests and scripts with a TaskQueue
// they drain themselves.
class GuiThread {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~GuiThread() = default;
  // From any thread: runs `task` on the GUI thread after what already waits
  // there. Once the GUI side has shut down the task is dropped unrun.
  virtual void Post(std::function<void()> task) = 0;
  // From the GUI thread: runs `task` there once `milliseconds` have passed.
  virtual void PostAfter(int milliseconds, std::function<void()> task) = 0;
  // The time PostAfter counts by (a test's queue moves it by hand).
  virtual Clock::time_point Now() const { return Clock::now(); }

  // From the GUI thread: after what waits there now, or after a while.
  void PostIn(int milliseconds, std::function<void()> task) {
    if (milliseconds > 0) {
      PostAfter(milliseconds, std::move(task));
    } else {
      Post(std::move(task));
    }
  }
};

}  // namespace mapvine
