#pragma once

#include <cstdint>
#include <string_view>

#include "protocol/VerbBlock.h"

namespace mapvine {

// Asks the node to run an APPC echo test against `partner` (a
// network-qualified name; at most 17 characters are sent). 1 when the
// partner answered, 0 when the verb failed for any reason. A successful
// test prints its timings on standard output.
int ApingNode(const SnaCtlFunction& snaCtl, std::string_view partner);

// The same test in two halves, so that the verb may run on a worker thread
// while what it reports is written on the thread that keeps the trace.
struct ApingAnswer {
  VerbStatus status;
  std::uint32_t allocateMs = 0;
  std::uint32_t minimumMs = 0;
  std::uint32_t maximumMs = 0;
  std::uint32_t averageMs = 0;
};
// Issues the verb; touches nothing but the node and the block it builds.
ApingAnswer QueryAping(const SnaCtlFunction& snaCtl, std::string_view partner);
// Traces a failure or prints the timings; 1 when the partner answered.
int ReportAping(const ApingAnswer& answer, std::string_view partner);

}  // namespace mapvine
