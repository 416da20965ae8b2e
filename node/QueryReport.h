#pragma once

#include <ostream>

#include "node/TopologyTables.h"
#include "node/VerbBlock.h"

namespace mapvine {

// Writes what the topology and directory queries returned as readable
// text: the counts, every node and TG with its decoded status, every LU
// with its parent; or, for a query that failed, its return codes.
void PrintQueryReport(const TopologyTables& tables, VerbStatus topology, VerbStatus directory,
                      std::ostream& out);

}  // namespace mapvine
