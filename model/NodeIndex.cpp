#include "model/NodeIndex.h"

#include <algorithm>

namespace mapvine {

void NodeIndex::Add(CSprite& node) { byLabel_[node.label].push_back(&node); }

void NodeIndex::Remove(const CSprite& node) {
  const auto it = byLabel_.find(std::string_view(node.label));
  if (it == byLabel_.end()) return;
  std::erase(it->second, &node);
  if (it->second.empty()) byLabel_.erase(it);
}

CSprite* NodeIndex::Find(std::string_view label, const CSpriteList& listOrder) const {
  const auto it = byLabel_.find(label);
  if (it == byLabel_.end()) return nullptr;
  if (it->second.size() == 1) return it->second.front();
  for (const auto& node : listOrder) {
    if (node->label == label) return node.get();
  }
  return nullptr;
}

}  // namespace mapvine
