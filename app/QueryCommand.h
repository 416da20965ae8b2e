#pragma once

#include <ostream>

namespace mapvine {

// `mapvine --query`: loads the node library, queries the topology and the
// directory, and prints what came back. Returns the process exit status:
// 0 when both queries succeeded, 1 otherwise.
int RunQueryCommand(std::ostream& out, std::ostream& err);

}  // namespace mapvine
