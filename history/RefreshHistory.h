#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/FlapRule.h"
#include "history/HistoryRow.h"
#include "base/HandOver.h"
#include "history/JobThread.h"
#include "history/RefreshNotice.h"
#include "history/ServedNetwork.h"
#include "model/MapvineDoc.h"

namespace mapvine {

class HistoryRecorder;

// What one refresh added to the history.
struct RecordedRefresh {
  NetworkKey network;
  HistoryTime when = 0;
  bool baseline = false;  // the picture's first look at the network: nothing written
  // The document's own list, shared with the threads that write and follow it.
  std::shared_ptr<const std::vector<TopologyChange>> shared = std::make_shared<std::vector<TopologyChange>>();

  const std::vector<TopologyChange>& Changes() const { return *shared; }
};

// What following flapping found after one refresh.
struct FlapReport {
  std::vector<std::pair<std::string, FlapEvent>> events;
  // The refresh's notification, flapping resources left out; none when it
  // has nothing to tell or none was wanted.
  std::optional<RefreshNotice> notice;
};

// The one place where a refresh's comparison, once ready, goes into the
// history: it learns which network the picture shows and hands the changes
// to the recorder (none: no history is kept) and to a thread of its own
// that follows flapping resources, so that a refresh that changed a whole
// large network costs its GUI thread next to nothing. The change list is
// the document's, shared, never copied.
class RefreshHistory {
 public:
  explicit RefreshHistory(HistoryRecorder* recorder);
  ~RefreshHistory();

  // Before the refresh runs.
  void Starting();
  // After it, with the document's lastChanges set.
  const RecordedRefresh& Finished(const CMapvineDoc& doc, HistoryTime when);

  // Called as each refresh starts, before it reads or changes the picture.
  std::function<void()> beforeRefresh;
  // Called once Finished has recorded the refresh.
  std::function<void()> afterRefresh;
  // Asked as a refresh with changes finishes: should its notification be
  // made, of these kinds?
  std::function<std::optional<NoticeKinds>(const RecordedRefresh&)> wantsNotice;
  // Called from this thread's event loop once the refresh's flapping was
  // followed, in the order the refreshes finished.
  std::function<void(const RecordedRefresh&, const FlapReport&)> flappingFollowed;

  const RecordedRefresh& Last() const { return *last_; }
  const NetworkKey& Network() const { return last_->network; }
  // The resources flapping after the last refresh whose report came back.
  const FlappingSet& Flapping() const { return *flapping_; }
  HistoryRecorder* Recorder() const { return recorder_; }
  void SetRecorder(HistoryRecorder* recorder) { recorder_ = recorder; }
  // Waits until every refresh handed over has been followed; the reports
  // then come from the event loop.
  void Flush() { thread_.Flush(); }

 private:
  void Follow(std::shared_ptr<const RecordedRefresh> refresh, std::optional<NoticeKinds> notice);

  HistoryRecorder* recorder_;
  std::shared_ptr<const RecordedRefresh> last_ = std::make_shared<RecordedRefresh>();
  NetworkKey followedNetwork_;
  std::shared_ptr<const FlappingSet> flapping_ = std::make_shared<FlappingSet>();
  // Used on thread_ only.
  FlapTracker tracker_;
  std::shared_ptr<const FlappingSet> trackerFlapping_ = flapping_;
  // Reports come back through it; it goes after the thread, dropping any
  // report still on the way.
  QObject replies_;
  HandOver toWindow_;  // what the jobs hand back through replies_
  JobThread thread_{"flapping"};
};

}  // namespace mapvine
