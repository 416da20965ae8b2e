#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/VerbBlock.h"

namespace mapvine {

// What a one-entry request tells about a list before the real query.
struct ProbeResult {
  std::uint16_t total = 0;        // entries the node holds for the list
  std::uint16_t entryLength = 0;  // length word of the first entry; 0 when none came back
  VerbStatus status;
};

// Asks for one entry from the start of the list into a buffer of
// `probeSize` bytes, and once more into a buffer that holds any entry when
// the node holds entries but none fitted. A failed probe has written nothing, so it reads as an
// empty list; its return codes are kept for callers that must not mistake
// a node that did not answer for an empty one.
ProbeResult Probe(const SnaCtlFunction& snaCtl, std::uint16_t opcode, std::uint32_t blockLength,
                  std::size_t probeSize);

}  // namespace mapvine
