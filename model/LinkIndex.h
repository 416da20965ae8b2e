#pragma once

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
  // Call Remove before a link's names change.
  void Add(CLink& link);
  void Remove(const CLink& link);
  void Clear() { byPair_.Clear(); }
  // Room for this many pairs without growing on the way.
  void Reserve(std::size_t count) { byPair_.Reserve(count); }
  CLink* Find(std::string_view owner, std::string_view destination, int tgNumber,
              int* count) const;

 private:
  // Links of one pair in list order: links are appended at the tail, so
  // appending here keeps the same order. Most pairs have one link, held
  // without a separate allocation. The entry's key is `first`'s pair of
  // names, kept in the entry too when they are short.
  struct PairLinks {
    CLink* first = nullptr;
    std::unique_ptr<std::vector<CLink*>> more;
    InlineName owner, destination;  // first's

    void KeepNamesOfFirst();
    // Whether `first` joins `a` and `b`, in either direction.
    bool FirstJoins(std::string_view a, std::string_view b) const;
  };
  static std::uint64_t PairHash(std::string_view a, std::string_view b);
  static auto PairIs(std::string_view a, std::string_view b) {
    return [a, b](const PairLinks& links) { return links.FirstJoins(a, b); };
  }

  HashSlots<PairLinks> byPair_;
};

}  // namespace mapvine
