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

void LinkIndex::PairLinks::Append(CLink& link) {
  for (std::size_t k = 0; k < kHeld; ++k) {
    if (held[k] == nullptr) {
      held[k] = &link;
      heldTgNumbers[k] = link.tgNumber;
      return;
    }
  }
  if (!more) more = std::make_unique<std::vector<CLink*>>();
  more->push_back(&link);
}

void LinkIndex::PairLinks::Remove(const CLink& link) {
  const auto found = std::find(held.begin(), held.end(), &link);
  if (found == held.end()) {
    if (more) std::erase(*more, &link);
    return;
  }
  for (auto k = static_cast<std::size_t>(found - held.begin()); k + 1 < kHeld; ++k) {
    held[k] = held[k + 1];
    heldTgNumbers[k] = heldTgNumbers[k + 1];
  }
  held.back() = nullptr;
  if (more && !more->empty()) {
    held.back() = more->front();
    heldTgNumbers.back() = more->front()->tgNumber;
    more->erase(more->begin());
  }
  if (found == held.begin()) KeepNamesOfFirst();
}

void LinkIndex::PairLinks::KeepNamesOfFirst() {
  owner.Keep(held[0]->ownerName);
  destination.Keep(held[0]->destinationName);
}

bool LinkIndex::PairLinks::FirstJoins(std::string_view a, std::string_view b) const {
  if (owner.Held() && destination.Held()) return Joins(owner.View(), destination.View(), a, b);
  return Joins(held[0]->ownerName, held[0]->destinationName, a, b);
}

void LinkIndex::Add(CLink& link) {
  const std::string_view a = link.ownerName, b = link.destinationName;
  PairLinks& links = *byPair_.FindOrAdd(PairHash(a, b), PairIs(a, b)).first;
  links.Append(link);
  if (links.First() == &link) links.KeepNamesOfFirst();
}

void LinkIndex::Remove(const CLink& link) {
  const std::string_view a = link.ownerName, b = link.destinationName;
  const std::uint64_t hash = PairHash(a, b);
  PairLinks* links = byPair_.Find(hash, PairIs(a, b));
  if (links == nullptr) return;
  // The entry's last link goes with the entry; the key is matched on it.
  if (links->First() == &link && links->held[1] == nullptr) {
    byPair_.Erase(hash, PairIs(a, b));
    return;
  }
  links->Remove(link);
}

CLink* LinkIndex::Find(std::string_view owner, std::string_view destination, int tgNumber,
                       int* count) const {
  if (count) *count = 0;
  const PairLinks* links = byPair_.Find(PairHash(owner, destination), PairIs(owner, destination));
  if (links == nullptr) return nullptr;
  // A refresh meets the links again in the order they were made, and reads
  // and updates each one: start fetching a link a few lookups early, so that
  // its trip to memory overlaps the work in between.
  if (const PairLinks* ahead = byPair_.AfterLastFound(kFetchAhead)) __builtin_prefetch(ahead->First());
  // Every link of the entry joins the pair. A list walk counts the ones
  // with other TG numbers once for each direction they run the pair in:
  // twice for a link from a node to itself, otherwise once.
  const int directions = owner == destination ? 2 : 1;
  auto passOver = [&] {
    if (count) *count += directions;
  };
  for (std::size_t k = 0; k < PairLinks::kHeld && links->held[k] != nullptr; ++k) {
    if (links->heldTgNumbers[k] == tgNumber) return links->held[k];
    passOver();
  }
  if (links->more) {
    for (CLink* link : *links->more) {
      if (link->tgNumber == tgNumber) return link;
      passOver();
    }
  }
  return nullptr;
}

}  // namespace mapvine
