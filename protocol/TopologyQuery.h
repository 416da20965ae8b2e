#pragma once

#include <cstddef>

#include "protocol/AskingCount.h"
#include "protocol/TopologyTables.h"
#include "protocol/VerbBlock.h"

namespace mapvine {

// A batch buffer holds as many whole entries as fit in 32 KB.
inline constexpr std::size_t kBatchBufferLimit = 32768;
// Totals travel as 16-bit words, so no list can honestly be longer; a node
// that keeps sending entries is cut off here.
inline constexpr std::size_t kMaxListEntries = 65535;

// Reads every network node, connection network and TG of the node's
// topology database into tables.topology (replacing what it held), in
// batches with continuation keys. On failure the table is empty and the
// result carries the return codes of the batch that failed. `count`, when
// given, hears the lists' totals and each batch.
VerbStatus QueryTopology(const SnaCtlFunction& snaCtl, TopologyTables& tables, AskingCount* count = nullptr);

}  // namespace mapvine
