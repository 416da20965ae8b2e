#pragma once

#include <ostream>

#include "protocol/VerbBlock.h"

namespace mapvine {

// `mapvine --query`: loads the node library, queries the topology and the
// directory and prints what came back, then runs one refresh pass over the
// same answers into a new picture and prints what the picture holds. With
// `trace`, the pass is traced to "mapvine.trc". Returns the process exit
// status: 0 when both queries succeeded, 1 otherwise.
int RunQueryCommand(bool trace, std::ostream& out, std::ostream& err);
// The same with the node library already loaded.
int RunQueryCommand(const SnaCtlFunction& snaCtl, bool trace, std::ostream& out);

}  // namespace mapvine
