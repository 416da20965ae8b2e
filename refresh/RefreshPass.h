#pragma once

#include "model/MapvineDoc.h"
#include "protocol/NodeAnswers.h"
#include "protocol/VerbBlock.h"
#include "refresh/RefreshProgress.h"

namespace mapvine {

// One refresh pass: reads the topology database and the directory from the
// node and feeds every network node, connection network, TG, end node and
// LU to the document. Nodes and links are never removed by a refresh, so a
// query that fails leaves the picture as it was; the outcome says which.
RefreshOutcome dorefresh(CMapvineDoc& doc, const SnaCtlFunction& snaCtl);
// The same pass over answers already fetched; it empties their tables.
// `progress` is told of each record taken in.
RefreshOutcome dorefresh(CMapvineDoc& doc, NodeAnswers& answers,
                         RefreshProgress* progress = nullptr);

}  // namespace mapvine
