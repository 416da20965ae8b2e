#pragma once

#include <span>
#include <string>
#include <vector>

#include "history/FlapRule.h"
#include "history/HistoryRow.h"

namespace mapvine {

// One row of a change list: a change, or all the changes of a flapping
// resource folded into one (its latest change, with their count).
struct ListedChange {
  HistoryRow row;
  int folded = 1;
  bool flapping = false;
};

// The rows as a change list shows them, oldest first: every change of a
// resource in `flapping` folds into one entry, placed where its latest
// change is.
std::vector<ListedChange> FoldFlapping(std::span<const HistoryRow> rows, const FlappingSet& flapping);

}  // namespace mapvine
