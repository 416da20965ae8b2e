#pragma once

#include <optional>
#include <string>

#include "graphics/COSBView.h"
#include "model/MapvineDoc.h"
#include "model/Route.h"
#include "render/OverviewRendering.h"
#include "view/NodeCounts.h"

namespace mapvine {

// The route the window shows between two chosen nodes: highlighted over a
// dimmed picture until cleared (Escape, a click on the background). Either
// end may be chosen first; the route is found once both are, and again when
// links or statuses change, once per change however many parts of it there
// were. While one is chosen the status bar says the route instead of the
// node counts, so the status bar's facts are brought up to date here.
class ChosenRoute {
 public:
  // `picture` hears when the route's overlay changed; `doc`'s status line
  // says `counts` or the route.
  ChosenRoute(COSBView& picture, CMapvineDoc& doc, NodeCounts& counts)
      : picture_(picture), doc_(doc), counts_(counts) {}

  // Chooses an end and shows the route once both are chosen.
  void SetStart(CNode& node);
  void SetEnd(CNode& node);
  // Forgets both ends and shows that, when anything was shown or chosen.
  void Clear();
  // Forgets both ends without showing it (the picture is drawn anew
  // anyway); true when anything was shown or chosen.
  bool ForgetAll();
  // Links, statuses or visibility changed: the route is to be found again
  // between the chosen ends.
  void TopologyChanged() { stale_ = true; }
  // Lets go of a node or link that is leaving the document; the next Find
  // goes round it.
  void Forget(const CNode& node);
  void Forget(const CLink& link);

  // Brings the counts and the route up to date after what changed, and
  // says them in the status bar when they changed.
  void Settle();
  // The node count, or the route's summary while one is chosen.
  void SayStatus();

  // The route found; kind None while none is shown.
  const Route& Found() const { return route_; }
  bool Shown() const { return route_.kind != Route::Kind::None; }
  // The route with its ends, for drawing over the picture.
  void AddTo(ViewOverlays& overlays) const;

 private:
  // Finds the route if an end or the topology changed since it was last
  // found; true when it searched.
  bool FindIfStale();
  // Shows the route between the ends just chosen.
  void ShowNew();
  // What the status bar says about the route or a half-chosen one; nothing
  // while no end is chosen.
  std::optional<std::string> Status() const;

  COSBView& picture_;
  CMapvineDoc& doc_;
  NodeCounts& counts_;
  CNode* start_ = nullptr;
  CNode* end_ = nullptr;
  Route route_;
  bool stale_ = false;
};

}  // namespace mapvine
