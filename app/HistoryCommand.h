#pragma once

#include <ostream>

#include "app/CommandLine.h"

namespace mapvine {

// `mapvine --history`: prints the change history the filters of `line`
// let through, oldest first, in its format. 0 when it printed rows, 1 when
// there were none, 2 on trouble (a bad option value, a history that cannot
// be read), with the reason on `err`.
int RunHistoryCommand(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace mapvine
