#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/CSprite.h"
#include "graphics/CSpriteList.h"

namespace mapvine {

// Finds nodes by label in constant time. A label normally names one node;
// when several share it (possible after a file load or a rename), the first
// in list order wins, as a plain walk of the list would answer.
class NodeIndex {
 public:
  void Add(CSprite& node);
  void Remove(const CSprite& node);
  void Clear() { byLabel_.clear(); }
  CSprite* Find(std::string_view label, const CSpriteList& listOrder) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::vector<CSprite*>, Hash, std::equal_to<>> byLabel_;
};

}  // namespace mapvine
