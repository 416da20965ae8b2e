#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace mapvine {

// Flapping, by the rule monitoring systems use: a resource's percent state
// change over its last 21 refreshes (20 chances to change), with recent
// changes weighing more than old ones (from 0.75 for the oldest chance to
// 1.25 for the newest). A resource starts flapping at 30% and settles when
// it falls below 25%; between the two it keeps what it was.
inline constexpr int kFlapWindowRefreshes = 21;
inline constexpr double kFlapStartPercent = 30.0;
inline constexpr double kFlapSettlePercent = 25.0;

// Bit i set: the resource changed in the refresh i refreshes ago (bit 0 the
// latest). Only the 20 lowest bits count.
using ChangeBits = std::uint32_t;

double PercentStateChange(ChangeBits changes);
bool NextFlapping(bool wasFlapping, double percent);

// The keys of the resources flapping at one time.
using FlappingSet = std::unordered_set<std::string>;

// How a flapping resource stands after one refresh.
enum class FlapEvent { None, Started, Settled };

// Follows every resource that changed within the window, refresh by
// refresh. Keys are ResourceKey texts; resources with no change in the
// window and not flapping are forgotten.
class FlapTracker {
 public:
  // One refresh ran; `changed` lists the keys it changed (in any order, a
  // key may come twice). Every
  // start or end of flapping it caused is returned, with its key.
  std::vector<std::pair<std::string, FlapEvent>> Refresh(const std::vector<std::string>& changed);
  bool IsFlapping(const std::string& key) const;
  FlappingSet FlappingKeys() const;
  std::size_t FollowedCount() const { return followed_.size(); }

 private:
  struct Resource {
    ChangeBits changes = 0;
    bool flapping = false;
  };
  std::unordered_map<std::string, Resource> followed_;
};

}  // namespace mapvine
