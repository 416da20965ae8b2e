#pragma once

#include <cstddef>
#include <cstdint>

#include "node/VerbBlock.h"

namespace mapvine {

// What a one-entry request tells about a list before the real query.
struct ProbeResult {
  std::uint16_t total = 0;        // entries the node holds for the list
  std::uint16_t entryLength = 0;  // length word of the first entry; 0 when none came back
};

// Asks for one entry from the start of the list into a buffer of
// `probeSize` bytes. The return code is not consulted: a failed probe has
// written nothing, so it reads as an empty list.
ProbeResult Probe(const SnaCtlFunction& snaCtl, std::uint16_t opcode, std::uint32_t blockLength,
                  std::size_t probeSize);

}  // namespace mapvine
