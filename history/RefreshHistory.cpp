#include "history/RefreshHistory.h"

#include <algorithm>
#include <memory>

#include "history/HistoryRecorder.h"

namespace mapvine {

bool IsBaselineRefresh(const CMapvineDoc& before) {
  const auto nodes = before.NodesByArrival();
  return std::all_of(nodes.begin(), nodes.end(), [](const CSprite* node) { return node->addedByHand; });
}

void RefreshHistory::Starting(const CMapvineDoc& doc) {
  if (beforeRefresh) beforeRefresh();
  baseline_ = IsBaselineRefresh(doc);
}

const RecordedRefresh& RefreshHistory::Finished(const CMapvineDoc& doc, HistoryTime when) {
  const NetworkKey network = ServedNetwork(doc);
  // Another network's resources have nothing to do with this one's.
  if (network != last_.network) flapping_ = FlapTracker();
  last_ = RecordedRefresh();
  last_.network = network;
  last_.when = when;
  last_.baseline = baseline_;
  if (!baseline_ && network.Known()) Record(doc);
  if (afterRefresh) afterRefresh();
  return last_;
}

void RefreshHistory::Record(const CMapvineDoc& doc) {
  last_.shared = std::make_shared<const std::vector<TopologyChange>>(doc.lastChanges);
  std::vector<std::string> changed;
  changed.reserve(last_.Changes().size());
  for (const TopologyChange& change : last_.Changes()) changed.push_back(ResourceKey(change));
  last_.flapEvents = flapping_.Refresh(changed);
  if (recorder_) recorder_->Record(last_.network, last_.when, last_.shared);
}

}  // namespace mapvine
