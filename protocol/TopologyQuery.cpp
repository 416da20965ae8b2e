#include "protocol/TopologyQuery.h"

#include <algorithm>
#include <span>
#include <vector>

#include "protocol/EntryWalk.h"
#include "protocol/QueryProbe.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

// Entry length assumed when a probe returned nothing usable. A length above
// the batch limit would leave no room for even one entry.
constexpr std::size_t kDefaultEntryLength = 100;

std::size_t BatchEntryLength(std::uint16_t probed) {
  return (probed == 0 || probed > kBatchBufferLimit) ? kDefaultEntryLength : probed;
}

// The two topology lists differ only in verb, record area and key. A key is
// the leading fields of the last record received (from offset 2 on, which
// is exactly the key's layout in the block).
struct TopologyList {
  std::uint16_t opcode;
  std::uint32_t blockLength;
  std::size_t keyLength;
  // Node records grow a full table by 1.4; TG records one at a time.
  bool growByFactor;
  std::span<std::uint8_t> (*area)(TopologyEntry&);
  void (*mark)(TopologyEntry&);
};

constexpr std::size_t kKeyStart = 2;

const TopologyList kNodeList{
    snawire::kOpNodeTopologyQuery, snawire::kNodeTopologyQueryLength, 18, true,
    [](TopologyEntry& record) { return std::span<std::uint8_t>(record.node); },
    [](TopologyEntry& record) { record.holdsNode = 1; record.holdsTg = 0; }};

const TopologyList kTgList{
    snawire::kOpTgTopologyQuery, snawire::kTgTopologyQueryLength, 37, false,
    [](TopologyEntry& record) { return std::span<std::uint8_t>(record.tg); },
    [](TopologyEntry& record) { record.holdsTg = 1; record.holdsNode = 0; }};

void Place(std::vector<TopologyEntry>& table, std::size_t index, const TopologyEntry& record, bool growByFactor) {
  if (index >= table.size()) {
    const std::size_t grown = growByFactor ? table.size() * 14 / 10 : 0;
    table.resize(std::max(grown, table.size() + 1));
  }
  table[index] = record;
}

class ListFetch {
 public:
  ListFetch(const TopologyList& list, ProbeResult probe)
      : list_(list),
        total_(probe.total),
        entryLength_(BatchEntryLength(probe.entryLength)),
        buffer_(kBatchBufferLimit - kBatchBufferLimit % entryLength_),
        block_(list.opcode, list.blockLength) {}

  // Appends the list's records to `table` from index `next` on.
  VerbStatus Run(const SnaCtlFunction& snaCtl, std::vector<TopologyEntry>& table, std::size_t& next,
                 AskingCount* count) {
    std::size_t received = 0;
    std::vector<std::uint8_t> sentKey;
    for (;;) {
      std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
      block_.Reset();
      block_.SetBuffer(buffer_);
      const std::size_t wanted = total_ > received ? total_ - received : 0;
      block_.SetU16(snawire::kEntryCount, static_cast<std::uint16_t>(std::min(wanted, kBatchBufferLimit / entryLength_)));
      if (received == 0) {
        block_.SetU8(snawire::kListOptions, snawire::kListFromStart);
      } else {
        sentKey = KeyOf(table[next - 1]);
        block_.SetU8(snawire::kListOptions, snawire::kListAfterKey);
        block_.SetBytes(snawire::kKey, sentKey);
      }
      const VerbStatus status = block_.Issue(snaCtl);
      if (!status.Succeeded()) return status;

      const std::size_t returned = block_.U16(snawire::kEntryCount);
      EntryWalk walk(buffer_);
      std::size_t stored = 0;
      TopologyEntry record;
      while (stored < returned && received < kMaxListEntries && walk.Next(list_.area(record))) {
        list_.mark(record);
        Place(table, next, record, list_.growByFactor);
        ++stored;
        ++received;
        ++next;
      }
      if (count) count->Receive(stored);

      // Besides the normal end, stop on a node that cannot make progress:
      // nothing readable came back, the list limit is reached, or the batch
      // ended on the very key it was asked to continue after.
      const bool noProgress = stored == 0 || received >= kMaxListEntries ||
                              (!sentKey.empty() && KeyOf(table[next - 1]) == sentKey);
      if (received >= total_ || returned == 0 || noProgress) return status;
    }
  }

 private:
  std::vector<std::uint8_t> KeyOf(TopologyEntry& record) const {
    const auto key = list_.area(record).subspan(kKeyStart, list_.keyLength);
    return {key.begin(), key.end()};
  }

  const TopologyList& list_;
  std::size_t total_;
  std::size_t entryLength_;
  std::vector<std::uint8_t> buffer_;
  VerbBlock block_;
};

}  // namespace

VerbStatus QueryTopology(const SnaCtlFunction& snaCtl, TopologyTables& tables, AskingCount* count) {
  const ProbeResult nodes = Probe(snaCtl, snawire::kOpNodeTopologyQuery, snawire::kNodeTopologyQueryLength,
                                  snawire::kNodeRecordSize);
  const ProbeResult tgs = Probe(snaCtl, snawire::kOpTgTopologyQuery, snawire::kTgTopologyQueryLength,
                                snawire::kTgRecordSize);

  if (count) count->Announce(std::size_t{nodes.total} + tgs.total);
  // Sized once from the totals, so the usual refresh never reallocates.
  auto& table = tables.topology;
  table.assign(std::size_t{nodes.total} + tgs.total, TopologyEntry{});
  std::size_t next = 0;
  VerbStatus status = ListFetch(kNodeList, nodes).Run(snaCtl, table, next, count);
  if (status.Succeeded()) status = ListFetch(kTgList, tgs).Run(snaCtl, table, next, count);
  // A failed batch spoils the whole query, records already received included.
  table.resize(status.Succeeded() ? next : 0);
  return status;
}

}  // namespace mapvine
