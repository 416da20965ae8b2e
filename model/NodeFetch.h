#pragma once

#include <cstddef>

#include "model/CNode.h"

namespace mapvine {

// Starts fetching the node, so that its trip to memory overlaps the work
// done before it is read. A walk over a large picture's nodes otherwise
// waits for each of them in turn: they lie scattered over the heap.
inline void FetchNode(const CNode& node) {
  constexpr std::size_t kCacheLine = 64;
  const auto* bytes = reinterpret_cast<const char*>(&node);
  for (std::size_t offset = 0; offset < sizeof(CNode); offset += kCacheLine) {
    __builtin_prefetch(bytes + offset);
  }
}

// How many nodes ahead of the one in hand a walk starts fetching: enough
// for a trip to memory to end before the walk gets there.
inline constexpr std::size_t kNodesFetchedAhead = 8;

}  // namespace mapvine
