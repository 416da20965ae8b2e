#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <vector>

#include "base/RecordBytes.h"
#include "protocol/SnaWire.h"

namespace mapvine {

// Records exactly as the node returned them (the node, TG and directory
// records come from base/RecordBytes.h, as the picture keeps them too).
using LuDetailBytes = std::array<std::uint8_t, snawire::kLuDetailSize>;

// One entry of the topology database: a node or a TG, never both; the
// area not in use stays zero.
struct TopologyEntry {
  NodeRecordBytes node{};
  TgRecordBytes tg{};
  std::int32_t holdsNode = 0;
  std::int32_t holdsTg = 0;
};

// One directory entry that has a parent, with its detail lookup (zero when
// the lookup failed).
struct LuEntry {
  DirectoryRecordBytes directory{};
  LuDetailBytes luDetail{};
};

// What one refresh pass learned from the node. All node records come before
// the first TG record. The owner (one per pass) empties it at the pass's end.
struct TopologyTables {
  std::vector<TopologyEntry> topology;
  std::vector<LuEntry> lus;
  // The directory's entry for the local node's own control point (a network
  // or end node listed as local), which names the network it serves.
  std::optional<DirectoryRecordBytes> localControlPoint;

  void Clear() {
    localControlPoint.reset();
    // Release the storage too: a large network should not stay resident
    // between refreshes.
    std::vector<TopologyEntry>().swap(topology);
    std::vector<LuEntry>().swap(lus);
  }
};

}  // namespace mapvine
