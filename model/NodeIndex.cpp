#include "model/NodeIndex.h"

#include <functional>

#include "base/QualifiedName.h"
#include "model/NodeFetch.h"
#include "model/SortedNames.h"

namespace mapvine {
namespace {

// Starts fetching the node and the storage of its link list, where a link
// joining it is about to be appended.
void FetchNodeAndLinks(const CNode& node) {
  FetchNode(node);
  if (!node.links.empty()) __builtin_prefetch(&*node.links.begin());
}

}  // namespace

std::string_view ReportedName(std::string_view label, std::string_view fqName) {
  return fqName.empty() ? label : ShortNameView(fqName);
}

std::uint64_t NodeIndex::HashOf(std::string_view name) {
  return std::hash<std::string_view>{}(name);
}

void NodeIndex::Add(CNode& node) {
  sortedNames_.reset();
  anyName_.Add(node);
  const std::string_view name = ReportedName(node);
  const auto [entry, added] = byName_.FindOrAdd(HashOf(name), NameIs(name));
  if (added) {
    entry->node = &node;
    entry->count = 1;
    entry->name.Keep(name);
  } else if (++entry->count == 2) {
    ++sharedNames_;
  }
}

void NodeIndex::Remove(const CNode& node) {
  sortedNames_.reset();
  anyName_.Remove(node);
  if (lastFound_ == &node) lastFound_ = nullptr;
  const std::string_view name = ReportedName(node);
  const std::uint64_t hash = HashOf(name);
  Entry* entry = byName_.Find(hash, NameIs(name));
  if (entry == nullptr) return;
  if (--entry->count == 0) {
    byName_.Erase(hash, NameIs(name));
    return;
  }
  if (entry->count == 1) --sharedNames_;
  // The entry must keep naming its name through a node that stays; and
  // when one holder is left, that holder is the answer.
  if (entry->node == &node || entry->count == 1) {
    for (const auto& other : listOrder_) {
      if (other.get() != &node && ReportedName(*other) == name) {
        entry->node = other.get();
        break;
      }
    }
  }
}

CNode* NodeIndex::FirstInList(std::string_view name) const {
  for (const auto& node : listOrder_) {
    if (ReportedName(*node) == name) return node.get();
  }
  return nullptr;
}

CNode* NodeIndex::Find(std::string_view name) const {
  const Entry* entry = byName_.Find(HashOf(name), NameIs(name));
  if (entry == nullptr) {
    if (lastFound_) FetchNode(*lastFound_);
    return nullptr;
  }
  CNode* found = entry->count == 1 ? entry->node : FirstInList(name);
  lastFound_ = found;
  return found;
}

std::shared_ptr<const SortedNames> NodeIndex::SortedAnyNames() const {
  if (!sortedNames_) sortedNames_ = std::make_shared<const SortedNames>(listOrder_);
  return sortedNames_;
}

NodeIndex::LinkEnds NodeIndex::FindLinkEnds(std::string_view owner,
                                             std::string_view destination) const {
  LinkEnds ends{.owner = Find(owner)};
  if (ends.owner == nullptr) return ends;
  ends.destination = Find(destination);
  if (ends.destination == nullptr) return ends;
  FetchNodeAndLinks(*ends.owner);
  FetchNodeAndLinks(*ends.destination);
  return ends;
}

}  // namespace mapvine
