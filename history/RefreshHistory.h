#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "history/FlapRule.h"
#include "history/HistoryRow.h"
#include "history/ServedNetwork.h"
#include "model/MapvineDoc.h"

namespace mapvine {

class HistoryRecorder;

// What one refresh added to the history.
struct RecordedRefresh {
  NetworkKey network;
  HistoryTime when = 0;
  bool baseline = false;  // the picture's first look at the network: nothing written
  // Shared with the history's thread, which writes them: one copy only.
  std::shared_ptr<const std::vector<TopologyChange>> shared = std::make_shared<std::vector<TopologyChange>>();
  std::vector<std::pair<std::string, FlapEvent>> flapEvents;

  const std::vector<TopologyChange>& Changes() const { return *shared; }
};

// The one place where a refresh's comparison, once ready, goes into the
// history: it learns which network the picture shows, follows flapping
// resources, and hands the changes to the recorder (none: no history is
// kept, flapping is still followed).
class RefreshHistory {
 public:
  explicit RefreshHistory(HistoryRecorder* recorder) : recorder_(recorder) {}

  // Before the refresh runs.
  void Starting();
  // After it, with the document's lastChanges set.
  const RecordedRefresh& Finished(const CMapvineDoc& doc, HistoryTime when);

  // Called as each refresh starts, before it reads or changes the picture.
  std::function<void()> beforeRefresh;
  // Called once Finished has recorded the refresh.
  std::function<void()> afterRefresh;

  const RecordedRefresh& Last() const { return last_; }
  const NetworkKey& Network() const { return last_.network; }
  const FlapTracker& Flapping() const { return flapping_; }
  HistoryRecorder* Recorder() const { return recorder_; }
  void SetRecorder(HistoryRecorder* recorder) { recorder_ = recorder; }

 private:
  void Record(const CMapvineDoc& doc);

  HistoryRecorder* recorder_;
  FlapTracker flapping_;
  RecordedRefresh last_;
};

}  // namespace mapvine
