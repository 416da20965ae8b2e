#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>

#include "model/ResourceStatus.h"
#include "history/HistoryRow.h"

namespace mapvine {

// A node's or link's state as a replay shows it: its status, and whether
// the network reported it then (one not there yet, or gone already, is
// drawn faded).
struct ReplayedState {
  ResourceStatus status = ResourceStatus::Active;
  bool present = true;

  friend bool operator==(const ReplayedState&, const ReplayedState&) = default;
};

// A resource a replay changes, as the history names it, and its state then.
struct ReplayedResource {
  TopologyChange resource;  // kind unused
  ReplayedState state;
};

// Today's state of the resource a change names; none when the picture does
// not hold it (it was deleted by hand).
using TodaysState = std::function<std::optional<ReplayedState>(const TopologyChange&)>;

// The state of each resource at a past time, worked back from today's by
// undoing the changes found after that time (`rowsAfter`, oldest first, as
// the history lists them). Only the resources those rows name are answered:
// every other one was then as it is now. Keyed by ResourceKey.
std::unordered_map<std::string, ReplayedResource> StatesAt(std::span<const HistoryRow> rowsAfter,
                                                        const TodaysState& today);

}  // namespace mapvine
