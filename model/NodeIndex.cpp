#include "model/NodeIndex.h"

#include <functional>

namespace mapvine {

std::uint64_t NodeIndex::HashOf(std::string_view label) {
  return std::hash<std::string_view>{}(label);
}

void NodeIndex::Add(CSprite& node) {
  const auto [entry, added] = byLabel_.FindOrAdd(HashOf(node.label), LabelIs(node.label));
  if (added) {
    entry->node = &node;
    entry->count = 1;
    entry->label.Keep(node.label);
  } else {
    ++entry->count;
  }
}

void NodeIndex::Remove(const CSprite& node) {
  const std::string_view label = node.label;
  const std::uint64_t hash = HashOf(label);
  Entry* entry = byLabel_.Find(hash, LabelIs(label));
  if (entry == nullptr) return;
  if (--entry->count == 0) {
    byLabel_.Erase(hash, LabelIs(label));
    return;
  }
  // The entry must keep naming its label through a node that stays; and
  // when one holder is left, that holder is the answer.
  if (entry->node == &node || entry->count == 1) {
    for (const auto& other : listOrder_) {
      if (other.get() != &node && other->label == label) {
        entry->node = other.get();
        break;
      }
    }
  }
}

CSprite* NodeIndex::FirstInList(std::string_view label) const {
  for (const auto& node : listOrder_) {
    if (node->label == label) return node.get();
  }
  return nullptr;
}

CSprite* NodeIndex::Find(std::string_view label) const {
  const Entry* entry = byLabel_.Find(HashOf(label), LabelIs(label));
  if (entry == nullptr) return nullptr;
  return entry->count == 1 ? entry->node : FirstInList(label);
}

}  // namespace mapvine
