#include "base/Diagnostics.h"

#include <atomic>

namespace mapvine {
namespace {

// Set once at start-up; atomic because the statistics may come from the
// thread that runs the node's verbs.
std::atomic<std::FILE*> stream{nullptr};

}  // namespace

std::FILE* DiagnosticsStream() {
  std::FILE* chosen = stream.load(std::memory_order_relaxed);
  return chosen != nullptr ? chosen : stdout;
}

void SetDiagnosticsStream(std::FILE* chosen) { stream.store(chosen, std::memory_order_relaxed); }

}  // namespace mapvine
