#include "node/QueryProbe.h"

#include <vector>

#include "base/ByteReader.h"
#include "node/SnaWire.h"

namespace mapvine {

ProbeResult Probe(const SnaCtlFunction& snaCtl, std::uint16_t opcode, std::uint32_t blockLength,
                  std::size_t probeSize) {
  std::vector<std::uint8_t> buffer(probeSize);
  VerbBlock block(opcode, blockLength);
  block.SetBuffer(buffer);
  block.SetU16(snawire::kEntryCount, 1);
  block.SetU8(snawire::kListOptions, snawire::kListFromStart);
  ProbeResult result;
  result.status = block.Issue(snaCtl);
  result.total = block.U16(snawire::kTotalEntries);
  ByteReader reader(buffer);
  reader.ReadU16(result.entryLength);
  return result;
}

}  // namespace mapvine
