#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/FlapRule.h"
#include "history/HistoryRow.h"

namespace mapvine {

// Which changes raise a desktop notification.
struct NoticeKinds {
  bool inactive = true;   // went inactive
  bool gone = true;       // no longer reported
  bool recovered = true;  // went active again
};

// One notification for a refresh, its changes grouped: the summary names
// the first group ("3 links went inactive"), the body every group with its
// first few resources ("3 links went inactive: NN1–NN5 TG 24, …").
struct RefreshNotice {
  std::string summary;
  std::string body;
  TopologyChange first;  // the resource the notification's action shows
  bool recovery = false; // only recoveries: a notice, not a warning
};

// The notification for one refresh's changes; none when nothing of the
// kinds asked for changed. A flapping resource raises none until it settles.
std::optional<RefreshNotice> NoticeFor(const std::vector<TopologyChange>& changes, const FlapTracker& flapping,
                                       const NoticeKinds& kinds);

}  // namespace mapvine
