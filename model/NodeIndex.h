#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/CNode.h"
#include "model/CSpriteList.h"
#include "model/FoldedNameIndex.h"
#include "model/HashSlots.h"
#include "model/InlineName.h"

namespace mapvine {

class SortedNames;

// The name a refresh knows a node by: the short name of its
// network-qualified name, as the node reports it. The user may rename the
// node, but the network does not, so this name stays. A node without a
// network-qualified name (from a file that stored none) goes by its label.
std::string_view ReportedName(std::string_view label, std::string_view fqName);
inline std::string_view ReportedName(const CNode& node) {
  return ReportedName(node.label, node.fqName);
}

// Finds nodes by their reported name in constant time. A name normally
// belongs to one node; when several share it (possible after a file load),
// the first in list order wins, as a plain walk of the list would answer.
//
// On a network too large for the cache, a node met at random is rarely
// there. A refresh adds a missing node right after finding the one it is
// about to be linked to (an LU after its parent, an end node after its
// server), and that link reads the found node: so a Find that misses starts
// fetching the node the last Find answered.
//
// A new link reads both of its ends and appends itself to their link lists,
// a few steps after finding them: FindLinkEnds starts fetching both nodes
// and the lists, so that the trips overlap the link's construction.
class NodeIndex {
 public:
  // `listOrder` is the list the indexed nodes live in.
  explicit NodeIndex(const CSpriteList& listOrder) : listOrder_(listOrder), anyName_(listOrder) {}

  void Add(CNode& node);
  // Call before the node leaves the list or changes its label or
  // network-qualified name.
  void Remove(const CNode& node);
  void Clear() {
    byName_.Clear();
    anyName_.Clear();
    sharedNames_ = 0;
    lastFound_ = nullptr;
    sortedNames_.reset();
  }
  // Room for this many names without growing on the way.
  void Reserve(std::size_t count) { byName_.Reserve(count); }
  CNode* Find(std::string_view name) const;
  // The first node in list order whose label or network-qualified name is
  // `text` ignoring case, hidden ones included: what a person finds by the
  // names the picture shows.
  CNode* FindByAnyName(std::string_view text) const { return anyName_.FindFirst(text); }
  // Every label and network-qualified name once, sorted (SortedNames.h).
  // Sorting a large picture's names costs more than a keystroke may, so
  // they are sorted at the first call and kept until a node arrives,
  // leaves or is renamed. What a caller holds stays as it was taken.
  std::shared_ptr<const SortedNames> SortedAnyNames() const;
  // Whether Find answers `node`, an indexed node, by its name. An edit asks
  // this of each of the thousands of nodes it may touch: while no two
  // nodes share a name, the answer needs no lookup.
  bool FindsByItsName(const CNode& node) const {
    return sharedNames_ == 0 || Find(ReportedName(node)) == &node;
  }

  struct LinkEnds {
    CNode* owner = nullptr;
    CNode* destination = nullptr;
  };
  // Both ends of a link about to be made, each as Find answers it; the
  // destination is not looked up when the owner is missing.
  LinkEnds FindLinkEnds(std::string_view owner, std::string_view destination) const;

 private:
  // One node per name in the usual case; `node` is only the answer while
  // `count` is 1, otherwise the list order decides. The entry's key is the
  // holders' reported name, kept in the entry too when it is short.
  struct Entry {
    CNode* node = nullptr;
    std::uint32_t count = 0;
    InlineName name;

    bool HasName(std::string_view wanted) const {
      return name.Held() ? name.View() == wanted : ReportedName(*node) == wanted;
    }
  };
  static std::uint64_t HashOf(std::string_view name);
  static auto NameIs(std::string_view name) {
    return [name](const Entry& entry) { return entry.HasName(name); };
  }
  CNode* FirstInList(std::string_view name) const;

  const CSpriteList& listOrder_;
  HashSlots<Entry> byName_;
  std::size_t sharedNames_ = 0;  // names with more than one holder
  FoldedNameIndex anyName_;
  // Null until asked for, and again once a name changes.
  mutable std::shared_ptr<const SortedNames> sortedNames_;
  // The node Find last answered; null once it leaves the index.
  mutable const CNode* lastFound_ = nullptr;
};

}  // namespace mapvine
