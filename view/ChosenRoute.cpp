#include "view/ChosenRoute.h"

#include <algorithm>
#include <utility>

namespace mapvine {

void ChosenRoute::SetStart(CNode& node) {
  start_ = &node;
  stale_ = true;
}

void ChosenRoute::SetEnd(CNode& node) {
  end_ = &node;
  stale_ = true;
}

bool ChosenRoute::Clear() {
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
