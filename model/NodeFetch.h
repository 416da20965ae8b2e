#pragma once

// Starting a node's trip to memory ahead of reading it. On a network too
// large for the cache, a node met at random is rarely there; fetching it
// early lets the trip overlap the work in between.

#include <cstddef>

#include "graphics/CSprite.h"

namespace mapvine {

// Starts fetching the node itself.
inline void FetchNode(const CSprite& node) {
  constexpr std::size_t kCacheLine = 64;
  const auto* bytes = reinterpret_cast<const char*>(&node);
  for (std::size_t offset = 0; offset < sizeof(CSprite); offset += kCacheLine) {
    __builtin_prefetch(bytes + offset);
  }
}

// Starts fetching the node and the list of its links, for a link about to
// join it. Reads the node to find the list, so it pays only once the node
// has been fetched ahead.
inline void FetchNodeAndLinks(const CSprite& node) {
  FetchNode(node);
  if (!node.links.empty()) __builtin_prefetch(&*node.links.begin());
}

}  // namespace mapvine
