#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "history/Replay.h"

namespace mapvine {
namespace {

constexpr auto kActive = ResourceStatus::Active;
constexpr auto kInactive = ResourceStatus::Inactive;

HistoryRow Row(HistoryTime when, ChangeMark kind, const char* node) {
  return {when, when, {kind, false, node, {}, 0}, false};
}

TEST(Replay, UndoesTheChangesAfterTheTimeFromTodaysPicture) {
  // Today: A inactive, B gone (stale, last seen active), C present, D not
  // in the picture any more (deleted by hand).
  const std::vector<HistoryRow> history = {
      Row(10, ChangeMark::WentInactive, "A"), Row(20, ChangeMark::WentActive, "A"),
      Row(20, ChangeMark::New, "C"),          Row(30, ChangeMark::WentInactive, "A"),
      Row(30, ChangeMark::Gone, "B"),         Row(40, ChangeMark::Gone, "C"),
      Row(50, ChangeMark::New, "C"),          Row(50, ChangeMark::New, "D"),
  };
  const TodaysState today = [](const TopologyChange& change) -> std::optional<ReplayedState> {
    if (change.name == "A") return ReplayedState{kInactive, true};
    if (change.name == "B") return ReplayedState{kActive, false};
    if (change.name == "C") return ReplayedState{kActive, true};
    return std::nullopt;
  };
  struct Case {
    HistoryTime at;
    std::map<std::string, ReplayedState> states;
  };
  const Case cases[] = {
      {5, {{"A", {kActive, true}}, {"B", {kActive, true}}, {"C", {kActive, false}}}},  // C not there yet
      {10, {{"A", {kInactive, true}}, {"B", {kActive, true}}, {"C", {kActive, false}}}},
      {25, {{"A", {kActive, true}}, {"B", {kActive, true}}, {"C", {kActive, true}}}},
      {45, {{"C", {kActive, false}}}},  // C gone for a while; A and B as today
      {50, {}},
  };
  for (const Case& c : cases) {
    const auto after = std::find_if(history.begin(), history.end(), [&](const HistoryRow& r) { return r.when > c.at; });
    const auto states = StatesAt(std::span(after, history.end()), today);
    std::map<std::string, ReplayedState> sorted;
    for (const auto& [key, replayed] : states) sorted.emplace(key, replayed.state);
    EXPECT_EQ(sorted, c.states) << "at " << c.at;
  }
}

}  // namespace
}  // namespace mapvine
