#pragma once

#include <string_view>

#include "protocol/VerbBlock.h"

namespace mapvine {

// Asks the node to run an APPC echo test against `partner` (a
// network-qualified name; at most 17 characters are sent). 1 when the
// partner answered, 0 when the verb failed for any reason. A successful
// test prints its timings on standard output.
int ApingNode(const SnaCtlFunction& snaCtl, std::string_view partner);

}  // namespace mapvine
