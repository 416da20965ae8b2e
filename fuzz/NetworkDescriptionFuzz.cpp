// Any text given as a network description: the parser either refuses it
// with a message or returns a network the node can serve at every point
// of its timeline.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/SnaWire.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  snanode::ParseResult result = snanode::ParseNetwork(text, "fuzz.net");
  if (!result.network) return 0;
  // The network as first served, halfway through its timeline and at its end.
  const std::size_t changes = result.timeline.changes.size();
  for (const std::size_t steps : {std::size_t{0}, changes / 2, changes}) {
    const snanode::SimulatedNode node(snanode::NetworkAfter(*result.network, result.timeline, steps));
    std::uint8_t buffer[512];
    for (const std::uint16_t opcode : {snawire::kOpNodeTopologyQuery, snawire::kOpTgTopologyQuery,
                                       snawire::kOpDirectoryQuery, snawire::kOpDirectoryLuQuery}) {
      std::uint8_t block[snawire::kTgTopologyQueryLength] = {};
      snawire::PutU16(block, snawire::kOpcode, opcode);
      snawire::StoreBufferAddress(block, buffer);
      snawire::PutU32(block, snawire::kBufferSize, sizeof buffer);
      block[snawire::kListOptions] = snawire::kListFromStart;
      node.Call(block, sizeof block);
    }
  }
  return 0;
}
