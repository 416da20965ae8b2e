#include "model/NodeIndex.h"

namespace mapvine {

void NodeIndex::Add(CSprite& node) {
  auto [it, added] = byLabel_.try_emplace(node.label, Entry{&node, 1});
  if (!added) ++it->second.count;
}

void NodeIndex::Remove(const CSprite& node) {
  const auto it = byLabel_.find(std::string_view(node.label));
  if (it == byLabel_.end()) return;
  Entry& entry = it->second;
  if (--entry.count == 0) {
    byLabel_.erase(it);
  } else if (entry.count == 1) {
    // The one left is whichever other node carries the label.
    for (const auto& other : listOrder_) {
      if (other.get() != &node && other->label == node.label) entry.node = other.get();
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
  const auto it = byLabel_.find(label);
  if (it == byLabel_.end()) return nullptr;
  return it->second.count == 1 ? it->second.node : FirstInList(label);
}

}  // namespace mapvine
