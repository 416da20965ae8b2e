#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/CLink.h"

namespace mapvine {

// Finds links by the pair of names they join, whatever the direction, in
// time proportional to the links between that pair rather than to all links.
// It answers exactly as a walk of the document's link list would: the first
// match in list order, and the same count of same-pair links met before it.
class LinkIndex {
 public:
  void Add(CLink& link);
  void Remove(const CLink& link);
  void Clear() { byPair_.clear(); }
  CLink* Find(std::string_view owner, std::string_view destination, int tgNumber,
              int* count) const;

 private:
  struct PairKey {
    std::string first;  // the smaller name
    std::string second;
    bool operator==(const PairKey&) const = default;
  };
  struct PairHash {
    std::size_t operator()(const PairKey& key) const;
  };
  static PairKey KeyOf(std::string_view a, std::string_view b);

  // Links of one pair in list order: links are appended at the tail, so
  // appending here keeps the same order. Most pairs have one link, held
  // without a separate allocation.
  struct PairLinks {
    CLink* first = nullptr;
    std::vector<CLink*> more;
  };

  std::unordered_map<PairKey, PairLinks, PairHash> byPair_;
};

}  // namespace mapvine
