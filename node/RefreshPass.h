#pragma once

#include "model/MapvineDoc.h"
#include "node/VerbBlock.h"

namespace mapvine {

// How the node answered a refresh: the return codes of its two queries.
struct RefreshOutcome {
  VerbStatus topology;
  VerbStatus directory;
  bool Succeeded() const { return topology.Succeeded() && directory.Succeeded(); }
  // The first query that failed (the topology's when both did).
  const VerbStatus& Failure() const { return topology.Succeeded() ? directory : topology; }
};

// One refresh pass: reads the topology database and the directory from the
// node and feeds every network node, connection network, TG, end node and
// LU to the document. Nodes and links are never removed by a refresh, so a
// query that fails leaves the picture as it was; the outcome says which.
RefreshOutcome dorefresh(CMapvineDoc& doc, const SnaCtlFunction& snaCtl);

}  // namespace mapvine
