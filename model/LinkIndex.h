#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "graphics/CLink.h"
#include "model/HashSlots.h"
#include "model/InlineName.h"

namespace mapvine {

// Finds links by the pair of names they join, whatever the direction, in
// time proportional to the links between that pair rather than to all links.
// It answers exactly as a walk of the document's link list would: the first
// match in list order, and the same count of same-pair links met before it.
class LinkIndex {
 public:
  // Call Remove before a link's names or TG number change.
  void Add(CLink& link);
  void Remove(const CLink& link);
  void Clear() { byPair_.Clear(); }
  // Room for this many pairs without growing on the way.
  void Reserve(std::size_t count) { byPair_.Reserve(count); }
  CLink* Find(std::string_view owner, std::string_view destination, int tgNumber,
              int* count) const;

 private:
  // Links of one pair in list order: links are appended at the tail, so
  // appending here keeps the same order. The first two are held in the
  // entry with their TG numbers, so that a lookup picks its link without
  // visiting the others: an end node's pair usually has two, the link its
  // directory entry made and its TG. Any further links follow in `more`.
  // The entry's key is the first link's pair of names, kept in the entry
  // too when they are short.
  struct PairLinks {
    static constexpr std::size_t kHeld = 2;
    std::array<CLink*, kHeld> held{};  // filled from the front
    std::array<int, kHeld> heldTgNumbers{};
    std::unique_ptr<std::vector<CLink*>> more;  // only once `held` is full
    InlineName owner, destination;              // held[0]'s

    CLink* First() const { return held[0]; }
    void Append(CLink& link);
    // Removes `link` if the entry has it, closing up behind it. Not for
    // the entry's last link: the entry goes with that one.
    void Remove(const CLink& link);
    void KeepNamesOfFirst();
    // Whether the first link joins `a` and `b`, in either direction.
    bool FirstJoins(std::string_view a, std::string_view b) const;
  };
  static std::uint64_t PairHash(std::string_view a, std::string_view b);
  static auto PairIs(std::string_view a, std::string_view b) {
    return [a, b](const PairLinks& links) { return links.FirstJoins(a, b); };
  }

  HashSlots<PairLinks> byPair_;
};

}  // namespace mapvine
