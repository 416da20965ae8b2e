#include "history/Replay.h"

#include <unordered_set>

namespace mapvine {
namespace {

// The state just before a change, from the state just after it. "new" also
// means "came back", which a "gone" further back undoes again.
ReplayedState Undo(ReplayedState after, ChangeMark kind) {
  switch (kind) {
    case ChangeMark::WentInactive:
      after.status = ResourceStatus::Active;
      break;
    case ChangeMark::WentActive:
      after.status = ResourceStatus::Inactive;
      break;
    case ChangeMark::Gone:
      after.present = true;
      break;
    case ChangeMark::New:
      after.present = false;
      break;
    case ChangeMark::None:
      break;
  }
  return after;
}

}  // namespace

std::unordered_map<std::string, ReplayedResource> StatesAt(std::span<const HistoryRow> rowsAfter,
                                                           const TodaysState& today) {
  std::unordered_map<std::string, ReplayedResource> states;
  std::unordered_set<std::string> unknown;  // not in today's picture
  for (auto row = rowsAfter.rbegin(); row != rowsAfter.rend(); ++row) {
    std::string key = ResourceKey(row->change);
    auto found = states.find(key);
    if (found == states.end()) {
      if (unknown.contains(key)) continue;
      const std::optional<ReplayedState> now = today(row->change);
      if (!now) {
        unknown.insert(std::move(key));
        continue;
      }
      found = states.emplace(std::move(key), ReplayedResource{row->change, *now}).first;
    }
    found->second.state = Undo(found->second.state, row->change.kind);
  }
  return states;
}

}  // namespace mapvine
