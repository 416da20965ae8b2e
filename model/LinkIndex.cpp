#include "model/LinkIndex.h"

#include <algorithm>

namespace mapvine {

void LinkIndex::SameTgLinks::Append(CLink& link) {
  if (first == nullptr) {
    first = &link;
    return;
  }
  if (!more) more = std::make_unique<std::deque<CLink*>>();
  more->push_back(&link);
}

bool LinkIndex::SameTgLinks::Remove(const CLink& link) {
  if (first != &link) {
    if (more) std::erase(*more, &link);
    return false;
  }
  if (!more || more->empty()) return true;
  first = more->front();
  more->pop_front();
  return false;
}

void LinkIndex::Add(CLink& link) {
  const KeyView key = KeyOf(link.ownerName, link.destinationName, link.tgNumber);
  auto found = byLink_.find(key);
  if (found == byLink_.end()) found = byLink_.try_emplace(Held(key)).first;
  found->second.Append(link);
  const KeyView pair = KeyOf(link.ownerName, link.destinationName, 0);
  auto count = linksOfPair_.find(pair);
  if (count == linksOfPair_.end()) count = linksOfPair_.try_emplace(Held(pair), 0).first;
  ++count->second;
}

void LinkIndex::Remove(const CLink& link) {
  const auto found = byLink_.find(KeyOf(link.ownerName, link.destinationName, link.tgNumber));
  if (found == byLink_.end()) return;
  if (found->second.Remove(link)) byLink_.erase(found);
  const auto count = linksOfPair_.find(KeyOf(link.ownerName, link.destinationName, 0));
  if (count != linksOfPair_.end() && --count->second == 0) linksOfPair_.erase(count);
}

CLink* LinkIndex::Find(std::string_view owner, std::string_view destination, int tgNumber) const {
  const auto found = byLink_.find(KeyOf(owner, destination, tgNumber));
  return found == byLink_.end() ? nullptr : found->second.first;
}

int LinkIndex::CountOfPair(std::string_view owner, std::string_view destination) const {
  const auto count = linksOfPair_.find(KeyOf(owner, destination, 0));
  const std::size_t links = count == linksOfPair_.end() ? 0 : count->second;
  const std::size_t directions = owner == destination ? 2 : 1;
  return static_cast<int>(links * directions);
}

}  // namespace mapvine
