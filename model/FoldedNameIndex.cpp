#include "model/FoldedNameIndex.h"

#include "model/FoldedNames.h"

namespace mapvine {
namespace {

auto NameIs(std::string_view name) {
  return [name](const auto& entry) { return SameNameIgnoringCase(entry.Name(), name); };
}

// Whether the node's qualified name is a name of its own beside its label.
bool HasSecondName(const CNode& node) { return !SameNameIgnoringCase(node.fqName, node.label); }

bool Holds(const CNode& node, std::string_view name) {
  return SameNameIgnoringCase(node.label, name) || SameNameIgnoringCase(node.fqName, name);
}

}  // namespace

void FoldedNameIndex::Add(const CNode& node) {
  if (built_) AddNames(node);
}

void FoldedNameIndex::AddNames(const CNode& node) const {
  AddName(node, node.label, false);
  if (HasSecondName(node)) AddName(node, node.fqName, true);
}

void FoldedNameIndex::Remove(const CNode& node) {
  if (!built_) return;
  RemoveName(node, node.label);
  if (HasSecondName(node)) RemoveName(node, node.fqName);
}

void FoldedNameIndex::AddName(const CNode& node, std::string_view name, bool qualified) const {
  const auto [entry, added] = byName_.FindOrAdd(FoldedNameHash(name), NameIs(name));
  if (added) *entry = Entry{.node = &node, .qualified = qualified};
  ++entry->holders;
}

void FoldedNameIndex::RemoveName(const CNode& node, std::string_view name) {
  const std::uint64_t hash = FoldedNameHash(name);
  Entry* entry = byName_.Find(hash, NameIs(name));
  if (entry == nullptr) return;
  if (--entry->holders == 0) {
    byName_.Erase(hash, NameIs(name));
    return;
  }
  if (entry->node != &node) return;
  // The entry's key lives in its holder: another holder must carry it on.
  for (const auto& other : listOrder_) {
    if (other.get() == &node || !Holds(*other, name)) continue;
    entry->node = other.get();
    entry->qualified = !SameNameIgnoringCase(other->label, name);
    return;
  }
}

CNode* FoldedNameIndex::FirstInList(std::string_view text) const {
  for (const auto& node : listOrder_) {
    if (Holds(*node, text)) return node.get();
  }
  return nullptr;
}

void FoldedNameIndex::Build() const {
  byName_.Reserve(listOrder_.size() * 2);
  built_ = true;
  for (const auto& node : listOrder_) AddNames(*node);
}

CNode* FoldedNameIndex::FindFirst(std::string_view text) const {
  if (!built_) Build();
  const Entry* entry = byName_.Find(FoldedNameHash(text), NameIs(text));
  if (entry == nullptr) return nullptr;
  // The entry names one of its holders, not necessarily the first.
  return entry->holders == 1 ? const_cast<CNode*>(entry->node) : FirstInList(text);
}

}  // namespace mapvine
