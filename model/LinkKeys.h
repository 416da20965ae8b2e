#pragma once

#include <map>
#include <span>
#include <unordered_map>
#include <vector>

#include "model/DocumentEdit.h"

namespace mapvine {

// Edits name links by key (owner, destination, TG number and which of the
// links so named, in list order). Each of these walks the link list once,
// looking closely only at links that share an owner with those asked for.

// The keys the given links of the document go by now.
std::unordered_map<const CLink*, LinkKey> KeysOfLinks(const CMapvineDoc& doc,
                                                      std::span<const CLink* const> links);

// The links of the document that go by these keys now; a key no link goes
// by is left out.
std::map<LinkKey, CLink*> LinksWithKeys(const CMapvineDoc& doc, const std::vector<LinkKey>& keys);

}  // namespace mapvine
