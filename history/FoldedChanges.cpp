#include "history/FoldedChanges.h"

#include <unordered_map>

namespace mapvine {

std::vector<ListedChange> FoldFlapping(std::span<const HistoryRow> rows, const FlappingSet& flapping) {
  std::vector<ListedChange> listed;
  listed.reserve(rows.size());
  // Mostly nothing flaps: no row needs its key then.
  if (flapping.empty()) {
    for (const HistoryRow& row : rows) listed.push_back({row});
    return listed;
  }
  struct Fold {
    std::size_t latest = 0;
    int count = 0;
  };
  std::unordered_map<std::string, Fold> folds;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string key = ResourceKey(rows[i].change);
    if (!flapping.contains(key)) continue;
    Fold& fold = folds[std::move(key)];
    fold.latest = i;
    ++fold.count;
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (folds.empty()) {
      listed.push_back({rows[i]});
      continue;
    }
    const auto fold = folds.find(ResourceKey(rows[i].change));
    if (fold == folds.end()) {
      listed.push_back({rows[i]});
    } else if (fold->second.latest == i) {
      listed.push_back({rows[i], fold->second.count, true});
    }
  }
  return listed;
}

}  // namespace mapvine
