#include "history/RefreshHistory.h"

#include <memory>

#include "history/HistoryRecorder.h"

namespace mapvine {

void RefreshHistory::Starting() {
  if (beforeRefresh) beforeRefresh();
}

const RecordedRefresh& RefreshHistory::Finished(const CMapvineDoc& doc, HistoryTime when) {
  const NetworkKey network = ServedNetwork(doc);
  // Another network's resources have nothing to do with this one's.
  if (network != last_.network) flapping_ = FlapTracker();
  last_ = RecordedRefresh();
  last_.network = network;
  last_.when = when;
  // What the first refresh of a picture finds is the network as it is, not
  // a change.
  last_.baseline = doc.lastChanges.baseline;
  if (!last_.baseline && network.Known()) Record(doc);
  if (afterRefresh) afterRefresh();
  return last_;
}

void RefreshHistory::Record(const CMapvineDoc& doc) {
  last_.shared = std::make_shared<const std::vector<TopologyChange>>(doc.lastChanges.changes);
  std::vector<std::string> changed;
  changed.reserve(last_.Changes().size());
  for (const TopologyChange& change : last_.Changes()) changed.push_back(ResourceKey(change));
  last_.flapEvents = flapping_.Refresh(changed);
  if (recorder_) recorder_->Record(last_.network, last_.when, last_.shared);
}

}  // namespace mapvine
