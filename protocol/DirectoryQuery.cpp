#include "protocol/DirectoryQuery.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "base/LittleEndian.h"
#include "protocol/EntryWalk.h"
#include "protocol/QueryProbe.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

// Fetches the detail of one resource into `detail`; left zero when the
// lookup fails, which does not stop the directory walk.
void LookUpDetail(const SnaCtlFunction& snaCtl, VerbBlock& block, std::vector<std::uint8_t>& buffer,
                  const DirectoryRecordBytes& entry, LuDetailBytes& detail) {
  std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
  block.Reset();
  block.SetBuffer(buffer);
  block.SetU16(snawire::kEntryCount, 1);
  block.SetU8(snawire::kListOptions, snawire::kListAtKey);
  block.SetBytes(snawire::kLuKeyName, std::span(entry).subspan(snawire::kDirResourceName, snawire::kNameLength));
  if (!block.Issue(snaCtl).Succeeded()) return;
  std::copy_n(buffer.begin(), std::min(buffer.size(), detail.size()), detail.begin());
}

// The node's own control point: a parentless network or end node entry
// the directory holds as local, at this node.
bool IsLocalControlPoint(const DirectoryRecordBytes& entry) {
  const std::uint16_t type = LoadU16(&entry[snawire::kDirResourceType]);
  const bool controlPoint = type == snawire::kResourceNetworkNode || type == snawire::kResourceEndNode;
  return controlPoint && entry[snawire::kDirEntryType] == snawire::kDirEntryLocal &&
         entry[snawire::kDirLocation] == snawire::kDirLocationLocal;
}

}  // namespace

VerbStatus QueryDirectory(const SnaCtlFunction& snaCtl, TopologyTables& tables, AskingCount* count) {
  const ProbeResult directory = Probe(snaCtl, snawire::kOpDirectoryQuery, snawire::kDirectoryQueryLength,
                                      snawire::kDirectoryRecordSize);
  const ProbeResult detail = Probe(snaCtl, snawire::kOpDirectoryLuQuery, snawire::kDirectoryLuQueryLength,
                                   snawire::kLuDetailSize);
  tables.lus.clear();
  tables.localControlPoint.reset();
  // An empty directory is a success, but a node that failed the probe has
  // said nothing about its directory: report that failure, not an empty list.
  if (directory.total == 0) return directory.status;
  if (count) count->Announce(directory.total);

  // Room for every entry and its detail, as the probes describe them, but
  // never more than the cap: the figures come from the node.
  const std::uint64_t wanted =
      (std::uint64_t{directory.entryLength} + detail.entryLength) * std::uint64_t{directory.total};
  std::vector<std::uint8_t> entries(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, kDirectoryBufferLimit)));
  std::vector<std::uint8_t> detailBuffer(detail.entryLength);

  VerbBlock list(snawire::kOpDirectoryQuery, snawire::kDirectoryQueryLength);
  list.SetBuffer(entries);
  list.SetU8(snawire::kListOptions, snawire::kListFromStart);  // entry count 0: the whole directory at once
  const VerbStatus status = list.Issue(snaCtl);
  if (!status.Succeeded()) return status;

  // At most one record per announced entry (at most 65,535 of them).
  tables.lus.reserve(directory.total);
  VerbBlock lookup(snawire::kOpDirectoryLuQuery, snawire::kDirectoryLuQueryLength);
  EntryWalk walk(entries);
  DirectoryRecordBytes entry;
  for (std::size_t n = 0; n < directory.total && walk.Next(entry); ++n) {
    if (count) count->Receive(1);
    if (entry[snawire::kDirParentName] == 0) {
      if (!tables.localControlPoint && IsLocalControlPoint(entry)) tables.localControlPoint = entry;
      continue;
    }
    LuEntry& record = tables.lus.emplace_back();
    record.directory = entry;
    LookUpDetail(snaCtl, lookup, detailBuffer, entry, record.luDetail);
  }
  return status;
}

}  // namespace mapvine
