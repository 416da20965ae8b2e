#include <gtest/gtest.h>

#include <map>

#include "history/FlapRule.h"

namespace mapvine {
namespace {

// Runs a resource through refreshes, '1' a refresh that changed it, and
// answers whether it is flapping after the last one.
bool FlappingAfter(const std::string& refreshes) {
  FlapTracker tracker;
  for (const char refresh : refreshes) tracker.Refresh(refresh == '1' ? std::vector<std::string>{"R"} : std::vector<std::string>{});
  return tracker.IsFlapping("R");
}

TEST(FlapRule, PercentWeighsRecentChangesMore) {
  EXPECT_DOUBLE_EQ(PercentStateChange(0), 0.0);
  EXPECT_DOUBLE_EQ(PercentStateChange((1u << 20) - 1), 100.0);
  EXPECT_DOUBLE_EQ(PercentStateChange(1), 6.25);         // the newest chance weighs 1.25 of 20
  EXPECT_DOUBLE_EQ(PercentStateChange(1u << 19), 3.75);  // the oldest 0.75
  EXPECT_DOUBLE_EQ(PercentStateChange(1u << 20), 0.0);        // out of the window
}

TEST(FlapRule, StartsAtThirtyAndSettlesBelowTwentyFive) {
  struct Case {
    std::string refreshes;
    bool flapping;
  };
  const std::string six = "111111";
  const Case cases[] = {
      {"1", false},
      {"11111", false},                    // 29.9%
      {"111111", true},                    // 35.5%
      {"100100100100100100100100", true},  // every third refresh: exactly 30%
      {"00000000000000000000111101", false},  // 29.4%
      {six + "00000000", true},  // 29.2%, down from 35.5%: still flapping
      {six + "0000000000000", true},   // 25.3%
      {six + "00000000000000", false}, // 24.5%: settled
      {"10101010101010101010101010", true},
  };
  for (const Case& c : cases) EXPECT_EQ(FlappingAfter(c.refreshes), c.flapping) << c.refreshes;
}

TEST(FlapRule, ReportsStartAndSettleOnceAndForgetsQuietResources) {
  FlapTracker tracker;
  std::map<std::string, std::vector<FlapEvent>> events;
  for (int n = 0; n < 40; ++n) {
    const auto changed = n < 10 ? std::vector<std::string>{"A", "B"} : std::vector<std::string>{};
    for (const auto& [key, event] : tracker.Refresh(changed)) events[key].push_back(event);
  }
  const std::vector both{FlapEvent::Started, FlapEvent::Settled};
  EXPECT_EQ(events, (std::map<std::string, std::vector<FlapEvent>>{{"A", both}, {"B", both}}));
  EXPECT_EQ(tracker.FollowedCount(), 0u);
}

}  // namespace
}  // namespace mapvine
