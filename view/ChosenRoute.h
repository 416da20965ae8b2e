#pragma once

#include <optional>
#include <string>

#include "model/Route.h"
#include "render/OverviewRendering.h"

namespace mapvine {

// The route the window shows between two chosen nodes. Either end may be
// chosen first; the route is found once both are, and again when links or
// statuses change, once per change however many parts of it there were.
class ChosenRoute {
 public:
  void SetStart(CNode& node);
  void SetEnd(CNode& node);
  // Forgets both ends; true when anything was shown or chosen.
  bool Clear();
  // Links, statuses or visibility changed: the route is to be found again
  // between the chosen ends.
  void TopologyChanged() { stale_ = true; }
  // Finds the route if an end or the topology changed since it was last
  // found; true when it searched.
  bool FindIfStale();
  // Lets go of a node or link that is leaving the document; the next Find
  // goes round it.
  void Forget(const CNode& node);
  void Forget(const CLink& link);

  // The route found; kind None while none is shown.
  const Route& Found() const { return route_; }
  bool Shown() const { return route_.kind != Route::Kind::None; }
  // What the status bar says about the route or a half-chosen one; nothing
  // while no end is chosen.
  std::optional<std::string> Status() const;
  // The route with its ends, for drawing over the picture.
  void AddTo(ViewOverlays& overlays) const;

 private:
  CNode* start_ = nullptr;
  CNode* end_ = nullptr;
  Route route_;
  bool stale_ = false;
};

}  // namespace mapvine
