#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "graphics/CSprite.h"
#include "graphics/CSpriteList.h"

namespace mapvine {

// Finds nodes by label in constant time. A label normally names one node;
// when several share it (possible after a file load or a rename), the first
// in list order wins, as a plain walk of the list would answer.
class NodeIndex {
 public:
  // `listOrder` is the list the indexed nodes live in.
  explicit NodeIndex(const CSpriteList& listOrder) : listOrder_(listOrder) {}

  void Add(CSprite& node);
  // Call before the node leaves the list or changes its label.
  void Remove(const CSprite& node);
  void Clear() { byLabel_.clear(); }
  CSprite* Find(std::string_view label) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // One node per label in the usual case; `node` is only meaningful while
  // `count` is 1, otherwise the list order decides.
  struct Entry {
    CSprite* node;
    int count;
  };
  CSprite* FirstInList(std::string_view label) const;

  const CSpriteList& listOrder_;
  std::unordered_map<std::string, Entry, Hash, std::equal_to<>> byLabel_;
};

}  // namespace mapvine
