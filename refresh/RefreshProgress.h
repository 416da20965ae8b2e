#pragma once

#include <string_view>

namespace mapvine {

// Where a refresh shows how far it got. The window implements it with a
// progress bar and a Stop button; without one a refresh runs unseen.
class RefreshProgress {
 public:
  virtual ~RefreshProgress() = default;
  // A stage of `total` steps begins ("Refresh", "Status"); a total of 0
  // means the count is not known yet (the node is being asked).
  virtual void Begin(std::string_view stage, int total) = 0;
  // `done` of the stage's steps are done.
  virtual void Step(int done) = 0;
  // The node has not answered for a long while; the refresh goes on waiting
  // until it is told to keep waiting or to stop.
  virtual void NodeSilent() = 0;
  // The refresh is over; the progress goes away.
  virtual void End() = 0;
};

}  // namespace mapvine
