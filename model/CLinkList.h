#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/CLink.h"

namespace mapvine {

// An ordered list of links, kept in insertion order. `Ptr` is CLink* for the
// lists of a node (which do not own their links) and std::unique_ptr<CLink>
// for the document's list (which does).
template <typename Ptr>
class BasicLinkList {
 public:
  // First link joining the two names, in either direction, with that TG
  // number. When `count` is given it receives the number of same-pair links
  // met before the match (all of them when nothing matches), one per
  // direction that matches.
  CLink* Find(std::string_view owner, std::string_view destination, int tgNumber,
              int* count = nullptr) const;
  void Add(Ptr link) {
    links_.push_back(std::move(link));
    ++version_;
  }
  // Takes the first occurrence out of the list; empty when absent.
  Ptr Remove(const CLink* link) {
    auto it = std::find_if(links_.begin(), links_.end(),
                           [link](const Ptr& p) { return &*p == link; });
    if (it == links_.end()) return Ptr{};
    Ptr taken = std::move(*it);
    links_.erase(it);
    ++version_;
    return taken;
  }
  // Takes out (and, in an owning list, destroys) every link `doomed`
  // answers true for, in one pass however many go.
  template <typename Predicate>
  void RemoveIf(Predicate doomed) {
    if (std::erase_if(links_, [&doomed](const Ptr& p) { return doomed(&*p); }) > 0) ++version_;
  }
  void DeleteAll() {
    links_.clear();
    ++version_;
  }
  // Of the links whose ends are both shown and which pass through (x, y),
  // the one nearest the point; among equally near ones the first in list
  // order.
  CLink* HitTest(int x, int y) const;

  auto begin() const { return links_.begin(); }
  auto end() const { return links_.end(); }
  std::size_t size() const { return links_.size(); }
  bool empty() const { return links_.empty(); }
  // Changes whenever a link comes or goes: a copy of the list taken at one
  // version is still the list while the version stays.
  std::uint64_t Version() const { return version_; }

 private:
  std::vector<Ptr> links_;
  std::uint64_t version_ = 0;
};

using CLinkList = BasicLinkList<CLink*>;
using OwningLinkList = BasicLinkList<std::unique_ptr<CLink>>;

}  // namespace mapvine
