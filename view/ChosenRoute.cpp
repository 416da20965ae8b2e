#include "view/ChosenRoute.h"

#include <algorithm>

namespace mapvine {

void ChosenRoute::SetStart(CNode& node) {
  start_ = &node;
}

void ChosenRoute::SetEnd(CNode& node) {
  end_ = &node;
}

bool ChosenRoute::Clear() {
  const bool shown = Shown() || start_ != nullptr || end_ != nullptr;
  start_ = nullptr;
  end_ = nullptr;
  route_ = Route{};
  return shown;
}

void ChosenRoute::Find() {
  route_ = start_ != nullptr && end_ != nullptr ? FindRoute(*start_, *end_) : Route{};
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
