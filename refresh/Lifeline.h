#pragma once

#include <memory>
#include <utility>

namespace mapvine {

// Tells a task posted for later whether the object that posted it is still
// there: the guarded task does nothing once its owner is gone. Tasks are
// guarded and run on the GUI thread, where their owner is destroyed too; a
// guarded task may be copied and dropped on any thread.
class Lifeline {
 public:
  template <class Task>
  auto Guard(Task task) const {
    return [alive = std::weak_ptr<const int>(token_), task = std::move(task)](auto&&... args) mutable {
      if (alive.lock()) task(std::forward<decltype(args)>(args)...);
    };
  }

 private:
  std::shared_ptr<const int> token_ = std::make_shared<const int>(0);
};

}  // namespace mapvine
