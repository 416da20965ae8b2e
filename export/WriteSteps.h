#pragma once

#include <cstddef>

#include "base/WorkerThread.h"

namespace mapvine {

// A writer's way through the items it writes: it counts them into the
// progress and tells the writer when the person asked it to stop.
class WriteSteps {
 public:
  WriteSteps(WorkProgress& progress, std::size_t total) : progress_(progress), total_(total < 1 ? 1 : total) {}

  // One more item is written; false when the writer is to stop.
  bool Next() {
    ++done_;
    progress_.Reach(static_cast<int>(done_ * 100 / total_));
    return !progress_.Stopped();
  }
  // Whether the writer may go on, between items or inside a long one.
  bool GoOn() const { return !progress_.Stopped(); }

 private:
  WorkProgress& progress_;
  const std::size_t total_;
  std::size_t done_ = 0;
};

}  // namespace mapvine
