#pragma once

#include <array>
#include <cstdint>

namespace mapvine {

// The raw topology records a node or link keeps from its last report: the
// node record (56 bytes), the directory record (80 bytes) and the TG record
// (124 bytes) as the SNA node returned them.
using NodeDetail = std::array<std::uint8_t, 56>;
using DirectoryDetail = std::array<std::uint8_t, 80>;
using TgDetail = std::array<std::uint8_t, 124>;

// Kind of a node (`nodeType`).
enum NodeKind : int {
  NetworkNode = 1,
  EndNode = 2,
  LogicalUnit = 3,
  ConnectionNetwork = 4,
};

}  // namespace mapvine
