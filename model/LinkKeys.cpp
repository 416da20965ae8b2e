#include "model/LinkKeys.h"

#include <functional>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_set>

namespace mapvine {
namespace {

using SharedName = std::tuple<std::string_view, std::string_view, int>;

SharedName NameOf(const CLink& link) { return {link.ownerName, link.destinationName, link.tgNumber}; }
SharedName NameOf(const LinkKey& key) { return {std::get<0>(key), std::get<1>(key), std::get<2>(key)}; }

// Walks the links in list order and hands each one named as in `wanted` to
// `visit` with its key. Only links whose owner is among the wanted ones are
// numbered, so the walk stays a hash probe per link.
void NumberLinks(const CMapvineDoc& doc, const std::vector<SharedName>& wanted,
                 const std::function<void(CLink&, const LinkKey&)>& visit) {
  if (wanted.empty()) return;
  std::unordered_set<std::string_view> owners;
  std::map<SharedName, int> met;
  for (const SharedName& name : wanted) {
    owners.insert(std::get<0>(name));
    met.emplace(name, 0);
  }
  for (const auto& link : doc.Links()) {
    if (!owners.contains(link->ownerName)) continue;
    const auto counted = met.find(NameOf(*link));
    if (counted == met.end()) continue;
    visit(*link, LinkKey{link->ownerName, link->destinationName, link->tgNumber, counted->second++});
  }
}

}  // namespace

std::unordered_map<const CLink*, LinkKey> KeysOfLinks(const CMapvineDoc& doc,
                                                      std::span<const CLink* const> links) {
  std::vector<SharedName> wanted;
  for (const CLink* link : links) wanted.push_back(NameOf(*link));
  const std::unordered_set<const CLink*> asked(links.begin(), links.end());
  std::unordered_map<const CLink*, LinkKey> keys;
  NumberLinks(doc, wanted, [&](CLink& link, const LinkKey& key) {
    if (asked.contains(&link)) keys.emplace(&link, key);
  });
  return keys;
}

std::map<LinkKey, CLink*> LinksWithKeys(const CMapvineDoc& doc, const std::vector<LinkKey>& keys) {
  std::vector<SharedName> wanted;
  for (const LinkKey& key : keys) wanted.push_back(NameOf(key));
  const std::set<LinkKey> asked(keys.begin(), keys.end());
  std::map<LinkKey, CLink*> found;
  NumberLinks(doc, wanted, [&](CLink& link, const LinkKey& key) {
    if (asked.contains(key)) found.emplace(key, &link);
  });
  return found;
}

}  // namespace mapvine
