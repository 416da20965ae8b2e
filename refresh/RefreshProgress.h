#pragma once

#include <string_view>

namespace mapvine {

// Where a refresh shows how far it got, and learns whether the person asked
// it to stop. The window implements it with a progress bar and a Stop
// button; without one a refresh runs to its end.
class RefreshProgress {
 public:
  virtual ~RefreshProgress() = default;
  // A stage of `total` steps begins ("Refresh", "Status").
  virtual void Begin(std::string_view stage, int total) = 0;
  // `done` of the stage's steps are done; also lets the window handle the
  // person's input, such as a stop.
  virtual void Step(int done) = 0;
  // Whether the person asked to stop; only the status pass stops, after the
  // node it is checking.
  virtual bool StopRequested() const = 0;
  // The refresh is over; the progress goes away.
  virtual void End() = 0;
};

}  // namespace mapvine
