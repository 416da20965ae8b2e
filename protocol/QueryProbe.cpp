#include "protocol/QueryProbe.h"

#include <vector>

#include "base/ByteReader.h"
#include "protocol/SnaWire.h"

namespace mapvine {

namespace {

ProbeResult ProbeOnce(const SnaCtlFunction& snaCtl, std::uint16_t opcode,
                      std::uint32_t blockLength, std::size_t probeSize) {
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

// The longest entry a length word can describe.
constexpr std::size_t kLongestEntry = 0xFFFF;

}  // namespace

ProbeResult Probe(const SnaCtlFunction& snaCtl, std::uint16_t opcode, std::uint32_t blockLength,
                  std::size_t probeSize) {
  const ProbeResult first = ProbeOnce(snaCtl, opcode, blockLength, probeSize);
  // A node that holds entries but sent none back found the buffer too small
  // for one: real nodes append fields to the records. Asking once more with
  // room for any entry learns its true length, which the batches need.
  if (!first.status.Succeeded() || first.total == 0 || first.entryLength != 0) return first;
  const ProbeResult roomy = ProbeOnce(snaCtl, opcode, blockLength, kLongestEntry);
  return roomy.entryLength != 0 ? roomy : first;
}

}  // namespace mapvine
