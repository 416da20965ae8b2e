#include "history/RefreshHistory.h"

#include "base/LibraryHandOver.h"
#include "history/HistoryRecorder.h"

namespace mapvine {

RefreshHistory::RefreshHistory(HistoryRecorder* recorder) : recorder_(recorder) {}

// The thread goes first: what it still runs may post to replies_.
RefreshHistory::~RefreshHistory() = default;

void RefreshHistory::Starting() {
  if (beforeRefresh) beforeRefresh();
}

const RecordedRefresh& RefreshHistory::Finished(const CMapvineDoc& doc, HistoryTime when) {
  auto refresh = std::make_shared<RecordedRefresh>();
  refresh->network = ServedNetwork(doc);
  refresh->when = when;
  // What the first refresh of a picture finds is the network as it is, not
  // a change.
  refresh->baseline = doc.lastChanges.baseline;
  refresh->shared = doc.lastChanges.shared;
  // Another network's resources have nothing to do with this one's.
  if (refresh->network != last_->network) flapping_ = std::make_shared<FlappingSet>();
  last_ = refresh;
  if (!refresh->baseline && refresh->network.Known()) {
    if (recorder_) recorder_->Record(refresh->network, refresh->when, refresh->shared);
    Follow(refresh, wantsNotice ? wantsNotice(*refresh) : std::nullopt);
  }
  if (afterRefresh) afterRefresh();
  return *last_;
}

void RefreshHistory::Follow(std::shared_ptr<const RecordedRefresh> refresh, std::optional<NoticeKinds> notice) {
  const bool restart = refresh->network != followedNetwork_;
  followedNetwork_ = refresh->network;
  thread_.Post([this, refresh = std::move(refresh), notice, restart] {
    if (restart) {
      tracker_ = FlapTracker();
      trackerFlapping_ = std::make_shared<FlappingSet>();
    }
    std::vector<std::string> changed;
    changed.reserve(refresh->Changes().size());
    for (const TopologyChange& change : refresh->Changes()) changed.push_back(ResourceKey(change));
    FlapReport report;
    report.events = tracker_.Refresh(changed);
    // The set changes only when a resource starts or settles: readers keep
    // the one they hold.
    if (!report.events.empty()) trackerFlapping_ = std::make_shared<FlappingSet>(tracker_.FlappingKeys());
    if (notice) report.notice = NoticeFor(refresh->Changes(), tracker_, *notice);
    // Qt builds the event here and hands it to the GUI thread, whose event
    // filters read it.
    const LibraryHandOver posting;
    QMetaObject::invokeMethod(&replies_, toWindow_.Carrying([this, refresh, report = std::move(report),
                                                             flapping = trackerFlapping_] {
      // A report of a network the picture no longer shows changes nothing.
      if (refresh->network != last_->network) return;
      flapping_ = flapping;
      if (flappingFollowed) flappingFollowed(*refresh, report);
    }));
  });
}

}  // namespace mapvine
