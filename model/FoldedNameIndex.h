#pragma once

#include <cstdint>
#include <string_view>

#include "model/CNode.h"
#include "model/CSpriteList.h"
#include "model/HashSlots.h"

namespace mapvine {

// Finds the first node, in list order, whose label or network-qualified
// name is a text ignoring the case of ASCII letters (FoldedNames.h), as a
// walk of the list comparing both names would, without comparing the text
// with a hundred thousand of them. A name normally belongs to one node;
// when several hold it (a label that is another node's qualified name, two
// nodes of one name from a file), the list order decides, and only then is
// the list walked.
//
// It is built at the first question, so that a picture nobody searches (a
// script's refresh and save) never pays for it, and kept up to date from
// then on. A node's two names count once when they fold alike.
class FoldedNameIndex {
 public:
  // `listOrder` is the list the indexed nodes live in.
  explicit FoldedNameIndex(const CSpriteList& listOrder) : listOrder_(listOrder) {}

  // Call once the node is in the list with its names.
  void Add(const CNode& node);
  // Call before the node leaves the list or changes its label or
  // network-qualified name.
  void Remove(const CNode& node);
  void Clear() {
    byName_.Clear();
    built_ = false;
  }
  CNode* FindFirst(std::string_view text) const;

 private:
  // Keyed by a name a holder carries: `node`'s qualified name or label.
  struct Entry {
    const CNode* node = nullptr;
    std::uint32_t holders = 0;
    bool qualified = false;

    std::string_view Name() const { return qualified ? node->fqName : node->label; }
  };
  // Const for Build's sake: the table is mutable.
  void AddNames(const CNode& node) const;
  void AddName(const CNode& node, std::string_view name, bool qualified) const;
  void RemoveName(const CNode& node, std::string_view name);
  CNode* FirstInList(std::string_view text) const;
  void Build() const;

  const CSpriteList& listOrder_;
  // Built by the first FindFirst, which changes nothing a caller sees.
  mutable HashSlots<Entry> byName_;
  mutable bool built_ = false;
};

}  // namespace mapvine
