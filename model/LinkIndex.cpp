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
  PairLinks& links = byPair_[KeyOf(link.ownerName, link.destinationName)];
  if (links.first == nullptr) {
    links.first = &link;
  } else {
    links.more.push_back(&link);
  }
}

void LinkIndex::Remove(const CLink& link) {
  const auto it = byPair_.find(KeyOf(link.ownerName, link.destinationName));
  if (it == byPair_.end()) return;
  PairLinks& links = it->second;
  if (links.first == &link) {
    if (links.more.empty()) {
      byPair_.erase(it);
      return;
    }
    links.first = links.more.front();
    links.more.erase(links.more.begin());
  } else {
    std::erase(links.more, &link);
  }
}

CLink* LinkIndex::Find(std::string_view owner, std::string_view destination, int tgNumber,
                       int* count) const {
  if (count) *count = 0;
  const auto it = byPair_.find(KeyOf(owner, destination));
  if (it == byPair_.end()) return nullptr;
  auto matches = [&](const CLink* link) {
    const bool forward = link->ownerName == owner && link->destinationName == destination;
    const bool backward = link->ownerName == destination && link->destinationName == owner;
    if ((forward || backward) && link->tgNumber == tgNumber) return true;
    if (count) *count += (forward ? 1 : 0) + (backward ? 1 : 0);
    return false;
  };
  const PairLinks& links = it->second;
  if (matches(links.first)) return links.first;
  for (CLink* link : links.more) {
    if (matches(link)) return link;
  }
  return nullptr;
}

}  // namespace mapvine
