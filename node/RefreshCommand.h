#pragma once

#include "model/MapvineDoc.h"
#include "node/VerbBlock.h"

namespace mapvine {

// The Refresh command (menu, F5, every tick of the auto-refresh timer): the
// refresh pass; with activeQuery set, the status pass that pings every
// displayed node; a redraw; and the timer re-armed so that the next tick
// comes one full period after this refresh ended.
void RefreshCommand(CMapvineDoc& doc, const SnaCtlFunction& snaCtl);

}  // namespace mapvine
