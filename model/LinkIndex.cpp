#include "model/LinkIndex.h"

#include <algorithm>
#include <functional>

namespace mapvine {
namespace {

constexpr std::size_t kFetchAhead = 4;

// TG numbers are one byte on the wire.
bool Reportable(int tgNumber) { return tgNumber >= 0 && tgNumber <= 255; }

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

void LinkIndex::LinkGroup::Append(CLink& link) {
  if (first == nullptr) {
    first = &link;
    owner.Keep(link.ownerName);
    destination.Keep(link.destinationName);
    return;
  }
  if (!more) more = std::make_unique<std::deque<CLink*>>();
  more->push_back(&link);
}

bool LinkIndex::LinkGroup::Remove(const CLink& link) {
  if (first != &link) {
    if (more) std::erase(*more, &link);
    return false;
  }
  if (Size() == 1) return true;
  first = more->front();
  more->pop_front();
  return false;
}

bool LinkIndex::LinkGroup::JoinsPair(std::string_view a, std::string_view b) const {
  if (owner.Held() && destination.Held()) return Joins(owner.View(), destination.View(), a, b);
  return Joins(first->ownerName, first->destinationName, a, b);
}

void LinkIndex::Add(CLink& link) {
  const std::string_view a = link.ownerName, b = link.destinationName;
  const std::uint64_t hash = PairHash(a, b);
  if (!Reportable(link.tgNumber)) {
    unusualByPair_.FindOrAdd(hash, PairIs(a, b)).first->Append(link);
    return;
  }
  const auto [links, added] = byLink_.FindOrAdd(hash, KeyIs(a, b, link.tgNumber));
  if (added) links->tgNumber = link.tgNumber;
  links->Append(link);
}

void LinkIndex::Remove(const CLink& link) {
  const std::string_view a = link.ownerName, b = link.destinationName;
  const std::uint64_t hash = PairHash(a, b);
  if (!Reportable(link.tgNumber)) {
    LinkGroup* links = unusualByPair_.Find(hash, PairIs(a, b));
    if (links != nullptr && links->Remove(link)) unusualByPair_.Erase(hash, PairIs(a, b));
    return;
  }
  SameTgLinks* links = byLink_.Find(hash, KeyIs(a, b, link.tgNumber));
  if (links != nullptr && links->Remove(link)) byLink_.Erase(hash, KeyIs(a, b, link.tgNumber));
}

CLink* LinkIndex::Find(std::string_view owner, std::string_view destination, int tgNumber) const {
  const std::uint64_t hash = PairHash(owner, destination);
  if (!Reportable(tgNumber)) {
    const LinkGroup* links = unusualByPair_.Find(hash, PairIs(owner, destination));
    if (links == nullptr) return nullptr;
    if (links->first->tgNumber == tgNumber) return links->first;
    if (!links->more) return nullptr;
    const auto found = std::find_if(links->more->begin(), links->more->end(),
                                    [tgNumber](const CLink* link) { return link->tgNumber == tgNumber; });
    return found == links->more->end() ? nullptr : *found;
  }
  const SameTgLinks* links = byLink_.Find(hash, KeyIs(owner, destination, tgNumber));
  if (links == nullptr) return nullptr;
  // A refresh meets the links again in the order they were made, and reads
  // and updates each one: start fetching a link a few lookups early, so that
  // its trip to memory overlaps the work in between.
  if (const SameTgLinks* ahead = byLink_.AfterLastFound(kFetchAhead)) __builtin_prefetch(ahead->first);
  return links->first;
}

int LinkIndex::CountOfPair(std::string_view owner, std::string_view destination) const {
  const std::uint64_t hash = PairHash(owner, destination);
  std::size_t links = 0;
  byLink_.VisitSameHash(hash, [&](const SameTgLinks& sameTg) {
    if (sameTg.JoinsPair(owner, destination)) links += sameTg.Size();
  });
  if (const LinkGroup* unusual = unusualByPair_.Find(hash, PairIs(owner, destination))) {
    links += unusual->Size();
  }
  const std::size_t directions = owner == destination ? 2 : 1;
  return static_cast<int>(links * directions);
}

}  // namespace mapvine
