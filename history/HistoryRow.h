#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/TopologyChange.h"

namespace mapvine {

// Times are milliseconds since the epoch (UTC).
using HistoryTime = std::int64_t;

// One change the history holds: when the refresh that found it ran, which
// refresh it was, and what changed.
struct HistoryRow {
  HistoryTime when = 0;
  std::int64_t refresh = 0;  // the refresh's number in the history
  TopologyChange change;
  bool acknowledged = false;

  friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

// The network the local node serves, which names a history: pictures of
// the same network share one.
struct NetworkKey {
  std::string networkId;
  std::string cpName;  // empty when the node named no control point of its own

  bool Known() const { return !networkId.empty(); }
  friend bool operator==(const NetworkKey&, const NetworkKey&) = default;
};

// One text per node or link, the same across refreshes and runs: a node's
// name, or a link's two ends and TG number ("NETA.NN1 NETA.NN5 24").
std::string ResourceKey(const TopologyChange& change);

}  // namespace mapvine
