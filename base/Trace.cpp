#include "base/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace mapvine {
namespace {

bool traceEnabled = false;

}  // namespace

bool TraceEnabled() { return traceEnabled; }
void SetTraceEnabled(bool enabled) { traceEnabled = enabled; }
void ToggleTrace() { traceEnabled = !traceEnabled; }

void Trace(std::string_view text) {
  if (!traceEnabled) return;
  std::FILE* file = std::fopen("mapvine.trc", "ab");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fputc('\n', file);
  std::fclose(file);
}

void TraceF(const char* format, ...) {
  if (!traceEnabled) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length >= 0) {
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    Trace(text);
  }
  va_end(args);
}

}  // namespace mapvine
