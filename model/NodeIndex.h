#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/CSprite.h"
#include "graphics/CSpriteList.h"
#include "model/HashSlots.h"
#include "model/InlineName.h"

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
  void Clear() { byLabel_.Clear(); }
  // Room for this many labels without growing on the way.
  void Reserve(std::size_t count) { byLabel_.Reserve(count); }
  CSprite* Find(std::string_view label) const;

 private:
  // One node per label in the usual case; `node` is only the answer while
  // `count` is 1, otherwise the list order decides. The entry's key is the
  // holders' label, kept in the entry too when it is short.
  struct Entry {
    CSprite* node = nullptr;
    std::uint32_t count = 0;
    InlineName label;

    bool HasLabel(std::string_view wanted) const {
      return label.Held() ? label.View() == wanted : node->label == wanted;
    }
  };
  static std::uint64_t HashOf(std::string_view label);
  static auto LabelIs(std::string_view label) {
    return [label](const Entry& entry) { return entry.HasLabel(label); };
  }
  CSprite* FirstInList(std::string_view label) const;

  const CSpriteList& listOrder_;
  HashSlots<Entry> byLabel_;
};

}  // namespace mapvine
