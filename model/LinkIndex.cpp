#include "model/LinkIndex.h"

#include <algorithm>
#include <functional>

namespace mapvine {

std::size_t LinkIndex::PairHash::operator()(const PairKey& key) const {
  const std::size_t h1 = std::hash<std::string>{}(key.first);
  const std::size_t h2 = std::hash<std::string>{}(key.second);
  return h1 ^ (h2 + 0x9e3779b97f4a7c15ULL + (h1 << 6) + (h1 >> 2));
}

LinkIndex::PairKey LinkIndex::KeyOf(std::string_view a, std::string_view b) {
  if (b < a) std::swap(a, b);
  return PairKey{std::string(a), std::string(b)};
}

void LinkIndex::Add(CLink& link) {
  byPair_[KeyOf(link.ownerName, link.destinationName)].push_back(&link);
}

void LinkIndex::Remove(const CLink& link) {
  const auto it = byPair_.find(KeyOf(link.ownerName, link.destinationName));
  if (it == byPair_.end()) return;
  std::erase(it->second, &link);
  if (it->second.empty()) byPair_.erase(it);
}

CLink* LinkIndex::Find(std::string_view owner, std::string_view destination, int tgNumber,
                       int* count) const {
  if (count) *count = 0;
  const auto it = byPair_.find(KeyOf(owner, destination));
  if (it == byPair_.end()) return nullptr;
  for (CLink* link : it->second) {
    const bool forward = link->ownerName == owner && link->destinationName == destination;
    const bool backward = link->ownerName == destination && link->destinationName == owner;
    if ((forward || backward) && link->tgNumber == tgNumber) return link;
    if (count) *count += (forward ? 1 : 0) + (backward ? 1 : 0);
  }
  return nullptr;
}

}  // namespace mapvine
