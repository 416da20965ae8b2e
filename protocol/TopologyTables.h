#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "protocol/SnaWire.h"

namespace mapvine {

// Raw records exactly as the node returned them.
using NodeRecordBytes = std::array<std::uint8_t, snawire::kNodeRecordSize>;
using TgRecordBytes = std::array<std::uint8_t, snawire::kTgRecordSize>;
using DirectoryRecordBytes = std::array<std::uint8_t, snawire::kDirectoryRecordSize>;
using LuDetailBytes = std::array<std::uint8_t, snawire::kLuDetailSize>;

// One entry of the topology database: a node or a TG, never both; the
// area not in use stays zero.
struct TopologyRecord {
  NodeRecordBytes node{};
  TgRecordBytes tg{};
  std::int32_t holdsNode = 0;
  std::int32_t holdsTg = 0;
};

// One directory entry that has a parent, with its detail lookup (zero when
// the lookup failed).
struct LuRecord {
  DirectoryRecordBytes directory{};
  LuDetailBytes luDetail{};
};

// What one refresh pass learned from the node. All node records come before
// the first TG record. The owner (one per pass) empties it at the pass's end.
struct TopologyTables {
  std::vector<TopologyRecord> topology;
  std::vector<LuRecord> lus;

  void Clear() {
    // Release the storage too: a large network should not stay resident
    // between refreshes.
    std::vector<TopologyRecord>().swap(topology);
    std::vector<LuRecord>().swap(lus);
  }
};

}  // namespace mapvine
