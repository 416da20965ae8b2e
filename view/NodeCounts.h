#pragma once

#include "model/MapvineDoc.h"

namespace mapvine {

// How many of the document's nodes are shown and how many there are, as
// the status bar says them. Counted again only after nodes came, went, hid
// or showed; a status change of a node that stays shown costs nothing.
class NodeCounts {
 public:
  void MarkStale() { stale_ = true; }
  // Counts again when stale; true when it did.
  bool Settle(const CMapvineDoc& doc) {
    if (!stale_) return false;
    stale_ = false;
    total_ = 0;
    displayed_ = 0;
    for (const CNode* node : doc.NodesByArrival()) {
      ++total_;
      if (!node->hidden) ++displayed_;
    }
    return true;
  }
  int Displayed() const { return displayed_; }
  int Total() const { return total_; }

 private:
  bool stale_ = true;
  int displayed_ = 0;
  int total_ = 0;
};

}  // namespace mapvine
