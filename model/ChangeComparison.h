#pragma once

#include <vector>

#include "model/MapvineDoc.h"
#include "model/TopologyChange.h"

namespace mapvine {

// The nodes and links a refresh added or changed the looks of (change
// mark, staleness, a link's status), in the order Compare visits them.
struct ChangedLooks {
  std::vector<CNode*> nodes;
  std::vector<CLink*> links;
};

// What the picture held just before a refresh: the status of every node and
// link and whether it was stale, in the order they joined the picture (a
// refresh only adds, after them). A picture just opened holds what its file
// held, so the first refresh compares against the file.
class PictureSnapshot {
 public:
  explicit PictureSnapshot(const CMapvineDoc& doc);

  // Compares the picture after the refresh with the snapshot: what appeared
  // (or came back), what the refresh no longer reported, and what went
  // active or inactive. Marks every changed node and link (a mark stays
  // until acknowledged, a later change replacing it) and updates which are
  // stale. `heardEverything` says both queries answered: only then does a
  // resource the refresh did not report count as gone. Nodes first, in the
  // order they joined the picture, then links in list order.
  // A picture without a baseline has no changes: nothing is marked, and a
  // refresh that heard everything makes what it found the baseline.
  // `looks`, when given, receives what the window must draw anew.
  ChangeList Compare(CMapvineDoc& doc, bool heardEverything, ChangedLooks* looks = nullptr) const;

 private:
  struct Before {
    ResourceStatus status = ResourceStatus::Inactive;
    bool stale = false;
  };
  std::vector<Before> nodes_;
  std::vector<Before> links_;
  bool hadBaseline_ = false;
};

// The person has seen the changes: every mark goes.
void AcknowledgeChanges(CMapvineDoc& doc);

}  // namespace mapvine
