#pragma once

#include <string_view>

namespace mapvine {

// The internal diagnostic log "mapvine.trc" in the current directory. Off
// when the program starts; the Edit menu's "Trace" item switches it.
bool TraceEnabled();
void SetTraceEnabled(bool enabled);
void ToggleTrace();

// When tracing is on, appends `text` and one line feed to the trace file.
// The file is opened and closed for every text so that it is complete on
// disk after each call; failures are swallowed.
void Trace(std::string_view text);

// Formats with printf rules and traces the result; formats nothing while
// tracing is off, so callers on hot paths pay only the check.
void TraceF(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace mapvine
