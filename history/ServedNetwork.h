#pragma once

#include "history/HistoryRow.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// The network the picture shows, which names its history: the local node's
// network ID and control point, as the refresh learned them. A node that
// does not list its own control point still names its network: the network
// ID of the first node the picture holds, with no control point. Unknown on
// an empty picture.
NetworkKey ServedNetwork(const CMapvineDoc& doc);

}  // namespace mapvine
