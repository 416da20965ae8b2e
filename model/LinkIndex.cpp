#include "model/LinkIndex.h"

#include <algorithm>
#include <functional>

namespace mapvine {
namespace {

constexpr std::size_t kFetchAhead = 4;

// Whether the link from `owner` to `destination` joins `a` and `b`, in
// either direction.
bool Joins(std::string_view owner, std::string_view destination, std::string_view a,
           std::string_view b) {
  return (owner == a && destination == b) || (owner == b && destination == a);
}

}  // namespace

std::uint64_t LinkIndex::PairHash(std::string_view a, std::string_view b) {
  // The same for either direction.
  if (b < a) std::swap(a, b);
  const std::uint64_t h1 = std::hash<std::string_view>{}(a);
  const std::uint64_t h2 = std::hash<std::string_view>{}(b);
  return h1 ^ (h2 + 0x9e3779b97f4a7c15ULL + (h1 << 6) + (h1 >> 2));
}

bool LinkIndex::SameTgLinks::JoinsPair(std::string_view a, std::string_view b) const {
  if (owner.Held() && destination.Held()) return Joins(owner.View(), destination.View(), a, b);
  return Joins(first->ownerName, first->destinationName, a, b);
}

void LinkIndex::Add(CLink& link) {
  const std::string_view a = link.ownerName, b = link.destinationName;
  const auto [links, added] = byLink_.FindOrAdd(PairHash(a, b), KeyIs(a, b, link.tgNumber));
  if (added) {
    links->first = &link;
    links->tgNumber = link.tgNumber;
    links->owner.Keep(a);
    links->destination.Keep(b);
    return;
  }
  if (!links->more) links->more = std::make_unique<std::vector<CLink*>>();
  links->more->push_back(&link);
}

void LinkIndex::Remove(const CLink& link) {
  const std::string_view a = link.ownerName, b = link.destinationName;
  const std::uint64_t hash = PairHash(a, b);
  SameTgLinks* links = byLink_.Find(hash, KeyIs(a, b, link.tgNumber));
  if (links == nullptr) return;
  if (links->first != &link) {
    if (links->more) std::erase(*links->more, &link);
    return;
  }
  // The entry's last link goes with the entry; the key is matched on it.
  if (links->Size() == 1) {
    byLink_.Erase(hash, KeyIs(a, b, link.tgNumber));
    return;
  }
  links->first = links->more->front();
  links->more->erase(links->more->begin());
}

CLink* LinkIndex::Find(std::string_view owner, std::string_view destination, int tgNumber) const {
  const SameTgLinks* links = byLink_.Find(PairHash(owner, destination), KeyIs(owner, destination, tgNumber));
  if (links == nullptr) return nullptr;
  // A refresh meets the links again in the order they were made, and reads
  // and updates each one: start fetching a link a few lookups early, so that
  // its trip to memory overlaps the work in between.
  if (const SameTgLinks* ahead = byLink_.AfterLastFound(kFetchAhead)) __builtin_prefetch(ahead->first);
  return links->first;
}

int LinkIndex::CountOfPair(std::string_view owner, std::string_view destination) const {
  std::size_t links = 0;
  byLink_.VisitSameHash(PairHash(owner, destination), [&](const SameTgLinks& sameTg) {
    if (sameTg.JoinsPair(owner, destination)) links += sameTg.Size();
  });
  const std::size_t directions = owner == destination ? 2 : 1;
  return static_cast<int>(links * directions);
}

}  // namespace mapvine
