#pragma once

#include "model/MapvineDoc.h"
#include "refresh/RefreshPass.h"
#include "refresh/RefreshProgress.h"
#include "protocol/VerbBlock.h"

namespace mapvine {

// The Refresh command (menu, F5, every tick of the auto-refresh timer): the
// refresh pass; with activeQuery set, the status pass that pings every
// displayed node; a redraw; and the timer re-armed so that the next tick
// comes one full period after this refresh ended. When the node failed the
// topology query the status pass is left out: a node that cannot list its
// topology cannot ping either, and every node would be marked unreachable.
// What the refresh changed goes to the document's lastChanges.
// `progress`, when given, follows both passes and may stop the status pass
// after the node being checked: the nodes not yet checked keep their status,
// and the timer is re-armed as after a whole pass.
RefreshOutcome RefreshCommand(CMapvineDoc& doc, const SnaCtlFunction& snaCtl,
                              RefreshProgress* progress = nullptr);

}  // namespace mapvine
