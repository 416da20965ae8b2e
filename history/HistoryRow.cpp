#include "history/HistoryRow.h"

namespace mapvine {

std::string ResourceKey(const TopologyChange& change) {
  if (!change.isLink) return change.name;
  return change.name + ' ' + change.destinationName + ' ' + std::to_string(change.tgNumber);
}

}  // namespace mapvine
