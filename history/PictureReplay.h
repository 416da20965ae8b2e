#pragma once

#include <span>
#include <vector>

#include "model/ChangeMark.h"
#include "model/ResourceStatus.h"
#include "history/HistoryRow.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// Shows today's picture as it was at a past time: each node's and link's
// status replayed from the history, resources the network did not report
// then faded (not there yet, or gone already), and no change marks. The
// picture's own states are kept aside and come back with Restore, which
// must run before anything else reads or changes them (a refresh, saving).
class PictureReplay {
 public:
  // `rowsAfter`: the history's changes of the picture's network after the
  // time shown, oldest first.
  void Show(CMapvineDoc& doc, std::span<const HistoryRow> rowsAfter);
  void Restore(CMapvineDoc& doc);
  bool Showing() const { return showing_; }

 private:
  struct Kept {
    ResourceStatus status;
    bool stale;
    ChangeMark mark;
  };
  std::vector<Kept> nodes_;  // in the order the nodes joined the picture
  std::vector<Kept> links_;  // in list order
  bool showing_ = false;
};

}  // namespace mapvine
