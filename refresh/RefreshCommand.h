#pragma once

#include "model/MapvineDoc.h"
#include "protocol/VerbBlock.h"
#include "refresh/RefreshPass.h"
#include "refresh/RefreshProgress.h"
#include "refresh/StatusPass.h"

namespace mapvine {

// The Refresh command for a caller without an event loop (a script's
// --save, benchmarks): the same run as the window's, with the verbs on
// worker threads, waited for to its end on the calling thread. The window
// runs a RefreshRun instead and goes on meanwhile.
RefreshOutcome RefreshCommand(CMapvineDoc& doc, const SnaCtlFunction& snaCtl,
                              RefreshProgress* progress = nullptr, StatusCheckLimits limits = {});

}  // namespace mapvine
