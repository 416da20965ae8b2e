#include "history/FlapRule.h"

namespace mapvine {
namespace {

constexpr int kChances = kFlapWindowRefreshes - 1;
constexpr double kOldestWeight = 0.75;
constexpr double kNewestWeight = 1.25;
constexpr ChangeBits kWindowMask = (ChangeBits{1} << kChances) - 1;

}  // namespace

double PercentStateChange(ChangeBits changes) {
  double weighted = 0;
  for (int age = 0; age < kChances; ++age) {
    if ((changes >> age & 1) == 0) continue;
    const int position = kChances - 1 - age;  // 0 for the oldest chance
    weighted += kOldestWeight + position * (kNewestWeight - kOldestWeight) / (kChances - 1);
  }
  // The weights add up to the number of chances, so every change counts 100%.
  return weighted * 100.0 / kChances;
}

bool NextFlapping(bool wasFlapping, double percent) {
  // A sum of weights that should make exactly 30% may come out a hair below.
  constexpr double kRounding = 1e-9;
  return percent + kRounding >= (wasFlapping ? kFlapSettlePercent : kFlapStartPercent);
}

std::vector<std::pair<std::string, FlapEvent>> FlapTracker::Refresh(const std::vector<std::string>& changed) {
  std::vector<std::pair<std::string, FlapEvent>> events;
  for (auto& [key, resource] : followed_) resource.changes = (resource.changes << 1) & kWindowMask;
  for (const std::string& key : changed) followed_[key].changes |= 1;
  for (auto it = followed_.begin(); it != followed_.end();) {
    Resource& resource = it->second;
    const bool flapping = NextFlapping(resource.flapping, PercentStateChange(resource.changes));
    if (flapping != resource.flapping) {
      events.emplace_back(it->first, flapping ? FlapEvent::Started : FlapEvent::Settled);
    }
    resource.flapping = flapping;
    if (resource.changes == 0 && !flapping) {
      it = followed_.erase(it);
    } else {
      ++it;
    }
  }
  return events;
}

bool FlapTracker::IsFlapping(const std::string& key) const {
  const auto it = followed_.find(key);
  return it != followed_.end() && it->second.flapping;
}

FlappingSet FlapTracker::FlappingKeys() const {
  FlappingSet keys;
  for (const auto& [key, resource] : followed_) {
    if (resource.flapping) keys.insert(key);
  }
  return keys;
}

}  // namespace mapvine
