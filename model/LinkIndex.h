#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

#include "model/CLink.h"
#include "model/HashSlots.h"
#include "model/InlineName.h"

namespace mapvine {

// Finds links by the pair of names they join, whatever the direction, and
// their TG number, in time proportional to the links of that pair and TG
// number rather than to all links. It answers exactly as a walk of the
// document's link list would: the first match in list order, and the count
// of same-pair links such a walk passes when it finds none.
//
// An end node's pair is usually joined twice, by the link its directory
// entry makes (TG 0) and by its TG, and a refresh meets the two in
// different passes and in different orders. Each has an entry of its own,
// so each pass meets its entries in the order it made them.
class LinkIndex {
 public:
  // Call Remove before a link's names or TG number change.
  void Add(CLink& link);
  void Remove(const CLink& link);
  void Clear() {
    byLink_.Clear();
    unusualByPair_.Clear();
  }
  // Room for this many entries without growing on the way.
  void Reserve(std::size_t count) { byLink_.Reserve(count); }
  CLink* Find(std::string_view owner, std::string_view destination, int tgNumber) const;
  // What a list walk counts when it finds no link of the pair with the TG
  // number looked for: each link of the pair, once for each direction it
  // runs the pair in (twice for a link from a node to itself).
  int CountOfPair(std::string_view owner, std::string_view destination) const;

 private:
  // Links of one pair in list order: links are appended at the tail, so
  // appending here keeps the same order. The names are kept in the group
  // too when they are short.
  struct LinkGroup {
    CLink* first = nullptr;
    // The rest, in list order; links usually go in that order too.
    std::unique_ptr<std::deque<CLink*>> more;
    InlineName owner, destination;  // as the first link named them

    void Append(CLink& link);
    // Takes `link` out, unless it is the last one: then the group must go,
    // and true says so (the group's key is still read through it).
    bool Remove(const CLink& link);
    std::size_t Size() const { return 1 + (more ? more->size() : 0); }
    // Whether the group's links join `a` and `b`, in either direction.
    bool JoinsPair(std::string_view a, std::string_view b) const;
  };
  // A pair's links with one TG number a node can report. Nearly always
  // just one. Every such group of a pair is stored under the pair's hash,
  // so that they are found together; there are at most 256 of them.
  struct SameTgLinks : LinkGroup {
    int tgNumber = 0;
  };
  static std::uint64_t PairHash(std::string_view a, std::string_view b);
  static auto PairIs(std::string_view a, std::string_view b) {
    return [a, b](const LinkGroup& links) { return links.JoinsPair(a, b); };
  }
  static auto KeyIs(std::string_view a, std::string_view b, int tgNumber) {
    return [a, b, tgNumber](const SameTgLinks& links) {
      return links.tgNumber == tgNumber && links.JoinsPair(a, b);
    };
  }

  HashSlots<SameTgLinks> byLink_;
  // A pair's links whose TG numbers no node could report, which only a
  // hand-made file holds, grouped by pair alone: however many different
  // ones a pair carries, adding one stays quick.
  HashSlots<LinkGroup> unusualByPair_;
};

}  // namespace mapvine
