// The route between two chosen nodes: the picture is dimmed and the route's
// links and nodes are drawn again over it, lit; a route over inactive links
// shows them dashed, as broken.
#include "view/ChosenRoute.h"

#include <algorithm>
#include <utility>

namespace mapvine {

void ChosenRoute::SetStart(CNode& node) {
  start_ = &node;
  stale_ = true;
  ShowNew();
}

void ChosenRoute::SetEnd(CNode& node) {
  end_ = &node;
  stale_ = true;
  ShowNew();
}

void ChosenRoute::ShowNew() {
  // During a batch the route is found once, at its end.
  if (picture_.InBatch()) return;
  FindIfStale();
  picture_.OverlayChanged();
  SayStatus();
}

void ChosenRoute::Clear() {
  if (!ForgetAll()) return;
  picture_.OverlayChanged();
  SayStatus();
}

bool ChosenRoute::ForgetAll() {
  const bool shown = Shown() || start_ != nullptr || end_ != nullptr;
  start_ = nullptr;
  end_ = nullptr;
  route_ = Route{};
  stale_ = false;
  return shown;
}

bool ChosenRoute::FindIfStale() {
  // Without both ends there is nothing to search, and nothing shown that
  // could change.
  if (!std::exchange(stale_, false) || start_ == nullptr || end_ == nullptr) return false;
  route_ = FindRoute(*start_, *end_);
  return true;
}

void ChosenRoute::Forget(const CNode& node) {
  if (start_ == &node) start_ = nullptr;
  if (end_ == &node) end_ = nullptr;
  if (std::find(route_.nodes.begin(), route_.nodes.end(), &node) != route_.nodes.end()) {
    route_ = Route{};
  }
}

void ChosenRoute::Forget(const CLink& link) {
  if (std::find(route_.links.begin(), route_.links.end(), &link) != route_.links.end()) {
    route_ = Route{};
  }
}

void ChosenRoute::Settle() {
  // Without a picture (a background that failed) the window says nothing;
  // the next good one brings the counts.
  if (!picture_.HasBuffer()) return;
  const bool recounted = counts_.Settle(doc_);
  const bool refound = FindIfStale();
  if (refound) picture_.OverlayChanged();
  if (recounted || refound) SayStatus();
}

void ChosenRoute::SayStatus() {
  doc_.ShowNodeCount(counts_.Displayed(), counts_.Total());
  if (const auto status = Status()) doc_.ShowStatusText(*status);
}

std::optional<std::string> ChosenRoute::Status() const {
  if (start_ != nullptr && end_ != nullptr) return RouteSummary(route_, *start_, *end_);
  if (start_ != nullptr) return "Route from " + start_->label + ": choose its end (Route To Here)";
  if (end_ != nullptr) return "Route to " + end_->label + ": choose its start (Route From Here)";
  return std::nullopt;
}

void ChosenRoute::AddTo(ViewOverlays& overlays) const {
  overlays.route = &route_;
  overlays.routeStart = start_;
  overlays.routeEnd = end_;
}

}  // namespace mapvine
