#include "model/NodeIndex.h"

#include "protocol/SnaNames.h"

namespace mapvine {
namespace {

// Starts fetching the node, so that its trip to memory overlaps the work
// done before it is read.
void FetchNode(const CSprite& node) {
  constexpr std::size_t kCacheLine = 64;
  const auto* bytes = reinterpret_cast<const char*>(&node);
  for (std::size_t offset = 0; offset < sizeof(CSprite); offset += kCacheLine) {
    __builtin_prefetch(bytes + offset);
  }
}

}  // namespace

std::string_view ReportedName(const CSprite& node) {
  return node.fqName.empty() ? std::string_view(node.label) : ShortNameView(node.fqName);
}

void NodeIndex::Add(CSprite& node) {
  const auto [entry, added] = byName_.try_emplace(std::string(ReportedName(node)));
  if (added) {
    entry->second = Holders{&node, 1};
  } else {
    ++entry->second.count;
  }
}

void NodeIndex::Remove(const CSprite& node) {
  if (lastFound_ == &node) lastFound_ = nullptr;
  const std::string_view name = ReportedName(node);
  const auto entry = byName_.find(name);
  if (entry == byName_.end()) return;
  Holders& holders = entry->second;
  if (--holders.count == 0) {
    byName_.erase(entry);
    return;
  }
  // When one holder is left, that holder is the answer.
  if (holders.node == &node || holders.count == 1) {
    for (const auto& other : listOrder_) {
      if (other.get() != &node && ReportedName(*other) == name) {
        holders.node = other.get();
        break;
      }
    }
  }
}

CSprite* NodeIndex::FirstInList(std::string_view name) const {
  for (const auto& node : listOrder_) {
    if (ReportedName(*node) == name) return node.get();
  }
  return nullptr;
}

CSprite* NodeIndex::Find(std::string_view name) const {
  const auto entry = byName_.find(name);
  if (entry == byName_.end()) {
    if (lastFound_) FetchNode(*lastFound_);
    return nullptr;
  }
  const Holders& holders = entry->second;
  CSprite* found = holders.count == 1 ? holders.node : FirstInList(name);
  FetchNode(*found);
  lastFound_ = found;
  return found;
}

}  // namespace mapvine
