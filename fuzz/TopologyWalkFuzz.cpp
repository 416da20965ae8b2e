// Feeds arbitrary replies to the topology and directory queries. The input
// is a stream of answers; for each verb call the double reads one control
// byte, the entry count and total it claims, and up to a 16-bit length of
// bytes that go into the caller's data buffer (cut at its size). When the
// input runs out the node answers with nothing, which ends every walk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "protocol/DirectoryQuery.h"
#include "protocol/SnaWire.h"
#include "protocol/TopologyQuery.h"

namespace {

class ReplyStream {
 public:
  ReplyStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return position_ >= size_; }
  std::uint8_t U8() { return Empty() ? 0 : data_[position_++]; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }

  // Copies up to `count` input bytes to `out`; returns how many.
  std::size_t Take(std::uint8_t* out, std::size_t count) {
    count = std::min(count, size_ - std::min(position_, size_));
    if (count > 0) std::memcpy(out, data_ + position_, count);
    position_ += count;
    return count;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

void Answer(ReplyStream& input, std::uint8_t* block, std::uint32_t length) {
  if (input.Empty() || length < snawire::kKey) return;
  const std::uint8_t control = input.U8();
  // One answer in sixteen is a failure, so most inputs get past the probes.
  if ((control & 0x0F) == 0x0F) snawire::PutU16(block, snawire::kPrimaryRc, 0x0100);
  snawire::PutU16(block, snawire::kEntryCount, input.U16());
  // Totals size the tables up front; keep most of them small so that the
  // fuzzer spends its time on the walk rather than on zeroing megabytes.
  const std::uint16_t total = input.U16();
  snawire::PutU16(block, snawire::kTotalEntries, (control & 0x10) != 0 ? total : total & 0x03FF);
  const std::size_t wanted = input.U16();
  std::uint8_t* buffer = snawire::LoadBufferAddress(block);
  const std::size_t room = snawire::GetU32(block, snawire::kBufferSize);
  input.Take(buffer, std::min(wanted, room));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReplyStream input(data, size);
  const mapvine::SnaCtlFunction node = [&input](void* block, std::uint32_t length) {
    Answer(input, static_cast<std::uint8_t*>(block), length);
  };
  mapvine::TopologyTables tables;
  const bool topologyOk = mapvine::QueryTopology(node, tables).Succeeded();
  mapvine::QueryDirectory(node, tables);

  // Whatever came back: a failed query leaves nothing, every record holds
  // exactly one kind, and no list outgrows what 16-bit totals allow.
  if (!topologyOk && !tables.topology.empty()) std::abort();
  if (tables.topology.size() > 2 * mapvine::kMaxListEntries) std::abort();
  if (tables.lus.size() > mapvine::kMaxListEntries) std::abort();
  bool tgSeen = false;
  for (const mapvine::TopologyEntry& record : tables.topology) {
    if (record.holdsNode + record.holdsTg != 1) std::abort();
    if (record.holdsNode == 1 && tgSeen) std::abort();
    tgSeen = tgSeen || record.holdsTg == 1;
  }
  return 0;
}
