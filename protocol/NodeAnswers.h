#pragma once

#include "protocol/AskingCount.h"
#include "protocol/TopologyTables.h"
#include "protocol/VerbBlock.h"

namespace mapvine {

// How the node answered one look: the return codes of its two queries.
struct RefreshOutcome {
  VerbStatus topology;
  VerbStatus directory;
  bool Succeeded() const { return topology.Succeeded() && directory.Succeeded(); }
  // The first query that failed (the topology's when both did).
  const VerbStatus& Failure() const { return topology.Succeeded() ? directory : topology; }
};

// Everything one look at the node learns: its topology database and its
// directory, with how each query ended.
struct NodeAnswers {
  TopologyTables tables;
  RefreshOutcome outcome;
};

// Queries the topology, then the directory; `count`, when given, hears how
// far the queries have come.
NodeAnswers AskNode(const SnaCtlFunction& snaCtl, AskingCount* count = nullptr);

}  // namespace mapvine
