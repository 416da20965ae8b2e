#pragma once

#include <cstdio>

namespace mapvine {

// Where the APING statistics and the few error lines a refresh prints go:
// standard output while a window runs, standard error when standard output
// carries a report that a script reads (--changes, --query).
std::FILE* DiagnosticsStream();
void SetDiagnosticsStream(std::FILE* stream);

}  // namespace mapvine
