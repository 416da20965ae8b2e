#pragma once

#include <cstddef>

#include "protocol/AskingCount.h"
#include "protocol/TopologyTables.h"
#include "protocol/VerbBlock.h"

namespace mapvine {

// The directory comes back in one call; its buffer is sized from what the
// probes report, so it is capped well above any honest directory
// (65,535 entries of 80 + 92 bytes is about 11 MB).
inline constexpr std::size_t kDirectoryBufferLimit = std::size_t{16} << 20;

// Reads the directory into tables.lus (replacing what it held): one record
// per entry that has a parent, each with its detail lookup, and the local
// node's own entry into tables.localControlPoint. On failure the
// table is empty and the result carries the return codes of the failed call.
// `count`, when given, hears the directory's total and each entry looked at.
VerbStatus QueryDirectory(const SnaCtlFunction& snaCtl, TopologyTables& tables, AskingCount* count = nullptr);

}  // namespace mapvine
