#pragma once

#include "node/TopologyTables.h"
#include "node/VerbBlock.h"

namespace mapvine {

// Everything one look at the node learns: its topology database and its
// directory, with how each query ended.
struct NodeAnswers {
  TopologyTables tables;
  VerbStatus topology;
  VerbStatus directory;
};

// Queries the topology, then the directory.
NodeAnswers AskNode(const SnaCtlFunction& snaCtl);

}  // namespace mapvine
