#include "snanode/ApingTable.h"

#include <algorithm>

namespace snanode {

ApingOutcome ApingTable::DefaultOutcome(std::string_view name) {
  // FNV-1a: a cheap, stable spread of names over a few plausible timings.
  std::uint32_t hash = 2166136261u;
  for (const char c : name) hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
  ApingOutcome outcome;
  outcome.allocateMs = 6 + hash % 20;
  outcome.minimumMs = 2 + (hash >> 8) % 5;
  outcome.averageMs = outcome.minimumMs + 1 + (hash >> 16) % 4;
  outcome.maximumMs = outcome.averageMs + 1 + (hash >> 24) % 8;
  return outcome;
}

ApingTable::ApingTable(const Network& network) {
  partners_.reserve(network.resources.size() + network.aping.size());
  // Explicit lines first, so that after a stable sort they win over the
  // defaults of the same name.
  for (const ApingRule& rule : network.aping) partners_.emplace_back(EncodeName(rule.partner), rule.outcome);
  for (const Resource& resource : network.resources) {
    const bool silent = resource.kind == ResourceKind::ConnectionNetwork && network.habits.silentConnectionNetworks;
    if (silent) continue;
    partners_.emplace_back(EncodeName(resource.name), DefaultOutcome(resource.name));
  }
  const auto byName = [](const auto& a, const auto& b) { return a.first < b.first; };
  std::stable_sort(partners_.begin(), partners_.end(), byName);
  const auto sameName = [](const auto& a, const auto& b) { return a.first == b.first; };
  partners_.erase(std::unique(partners_.begin(), partners_.end(), sameName), partners_.end());
}

const ApingOutcome* ApingTable::Find(const WireName& partner) const {
  const auto found = std::lower_bound(partners_.begin(), partners_.end(), partner,
                                      [](const auto& entry, const WireName& name) { return entry.first < name; });
  if (found == partners_.end() || found->first != partner) return nullptr;
  return &found->second;
}

}  // namespace snanode
