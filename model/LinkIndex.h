#pragma once

#include <boost/unordered/unordered_flat_map.hpp>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "graphics/CLink.h"
#include "model/NameTables.h"

namespace mapvine {

// Finds links by the pair of names they join, whatever the direction, and
// their TG number, in time proportional to the links of that pair and TG
// number rather than to all links. It answers exactly as a walk of the
// document's link list would: the first match in list order, and the count
// of same-pair links such a walk passes when it finds none.
class LinkIndex {
 public:
  // Call Remove before a link's names or TG number change.
  void Add(CLink& link);
  void Remove(const CLink& link);
  void Clear() {
    byLink_.clear();
    linksOfPair_.clear();
  }
  // Room for this many links without growing on the way.
  void Reserve(std::size_t count) { byLink_.reserve(count); }
  CLink* Find(std::string_view owner, std::string_view destination, int tgNumber) const;
  // What a list walk counts when it finds no link of the pair with the TG
  // number looked for: each link of the pair, once for each direction it
  // runs the pair in (twice for a link from a node to itself).
  int CountOfPair(std::string_view owner, std::string_view destination) const;

 private:
  // A pair of names in order, so that either direction of a link finds it;
  // held as strings in the tables and looked up as views.
  template <typename Name>
  struct BasicPair {
    Name first, second;
    int tgNumber = 0;  // 0 in the pair table, which counts every TG number
  };
  using Key = BasicPair<std::string>;
  using KeyView = BasicPair<std::string_view>;
  static KeyView KeyOf(std::string_view a, std::string_view b, int tgNumber) {
    if (b < a) std::swap(a, b);
    return {a, b, tgNumber};
  }
  static Key Held(const KeyView& key) { return {std::string(key.first), std::string(key.second), key.tgNumber}; }
  static KeyView Viewed(const Key& key) { return {key.first, key.second, key.tgNumber}; }
  static KeyView Viewed(const KeyView& key) { return key; }
  struct KeyHash {
    using is_transparent = void;
    template <typename K>
    std::size_t operator()(const K& key) const {
      const KeyView view = Viewed(key);
      std::size_t seed = NameHash{}(view.first);
      boost::hash_combine(seed, NameHash{}(view.second));
      boost::hash_combine(seed, view.tgNumber);
      return seed;
    }
  };
  struct KeyEqual {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      const KeyView x = Viewed(a), y = Viewed(b);
      return x.tgNumber == y.tgNumber && x.first == y.first && x.second == y.second;
    }
  };

  // Links of one pair and TG number in list order: links are appended at
  // the tail, so appending here keeps the same order. Nearly always one.
  struct SameTgLinks {
    CLink* first = nullptr;
    std::unique_ptr<std::deque<CLink*>> more;

    void Append(CLink& link);
    // Takes `link` out; true when none is left.
    bool Remove(const CLink& link);
  };

  boost::unordered_flat_map<Key, SameTgLinks, KeyHash, KeyEqual> byLink_;
  boost::unordered_flat_map<Key, std::size_t, KeyHash, KeyEqual> linksOfPair_;
};

}  // namespace mapvine
