#include "refresh/RefreshPass.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/LittleEndian.h"
#include "base/QualifiedName.h"
#include "protocol/RecordFields.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"
#include "protocol/TopologyTables.h"
#include "base/Diagnostics.h"
#include "base/Trace.h"

namespace mapvine {
namespace {

// Records taken in between two progress reports: a report lets the window
// handle its events, which costs more than a record.
constexpr int kProgressEvery = 50;

template <std::size_t N>
std::string ShortNameAt(const std::array<std::uint8_t, N>& record, std::size_t offset) {
  return ShortName(DecodeNameAt(record, offset));
}

struct DirectoryKind {
  int kind;
  const char* text;
};

// Directory resource and parent types; anything unknown is drawn as a
// network node.
DirectoryKind KindOfDirectoryType(std::uint16_t type) {
  switch (type) {
    case snawire::kResourceLu:
      return {LogicalUnit, "LU"};
    case snawire::kResourceEndNode:
      return {EndNode, "EN"};
    default:
      return {NetworkNode, "NN"};
  }
}

void AddTopologyNode(CMapvineDoc& doc, const NodeRecordBytes& record) {
  if (record[snawire::kNodeName] == 0) return;
  const std::string fq = DecodeNameAt(record, snawire::kNodeName);
  const std::string name = ShortName(fq);
  const ReportedNodeRecord reported{record, NodeRecordReportsActive(record)};
  std::string line;
  switch (record[snawire::kNodeType]) {
    case snawire::kNodeTypeNetworkNode:
      doc.NewNode(name, fq, NetworkNode, &reported, nullptr);
      line = "NN " + name + "|";
      break;
    case snawire::kNodeTypeConnectionNetwork:
      doc.NewNode(name, fq, ConnectionNetwork, &reported, nullptr);
      line = "CN " + name + "|";
      break;
    default:
      line = fq;
      break;
  }
  TraceF("NN Topo: %s\n", line.c_str());
}

// Whether the TG found both of its ends in the picture.
bool LinkTg(CMapvineDoc& doc, const TgRecordBytes& record) {
  const bool active = (record[snawire::kTgStatus] & snawire::kTgOperative) != 0;
  const int result = doc.NewLink(ShortNameAt(record, snawire::kTgOwner),
                                 ShortNameAt(record, snawire::kTgDestination), active,
                                 record[snawire::kTgNumber], &record);
  return result != kLinkOwnerMissing && result != kLinkDestinationMissing;
}

bool AddTopologyTg(CMapvineDoc& doc, const TgRecordBytes& record) {
  const std::string owner = ShortNameAt(record, snawire::kTgOwner);
  const std::string destination = ShortNameAt(record, snawire::kTgDestination);
  TraceF("TP: %s\n", ("LK " + owner + " " + destination).c_str());
  return LinkTg(doc, record);
}

void AddDirectoryEntry(CMapvineDoc& doc, const LuEntry& record) {
  const DirectoryRecordBytes& entry = record.directory;
  if (entry[snawire::kDirResourceName] == 0) {
    std::fputs("*** ERROR *** parent name = none\n", DiagnosticsStream());
    return;
  }
  const std::string luFq = DecodeNameAt(entry, snawire::kDirResourceName);
  const std::string lu = ShortName(luFq);
  const DirectoryKind luKind =
      KindOfDirectoryType(LoadU16(entry.data() + snawire::kDirResourceType));
  TraceF("%s\n", (std::string(luKind.text) + lu + "|").c_str());

  const std::string parentFq = DecodeNameAt(entry, snawire::kDirParentName);
  const std::string parent = ShortName(parentFq);
  const DirectoryKind parentKind =
      KindOfDirectoryType(LoadU16(entry.data() + snawire::kDirParentType));
  TraceF("LU: %s\n", (std::string(parentKind.text) + " " + lu + "|").c_str());
  TraceF("LU: %s\n", ("LK " + lu + " " + parent + "|").c_str());

  if (lu == parent) {
    TraceF("Owner = name for %s\n", parent.c_str());
    return;
  }
  doc.NewNode(parent, parentFq, parentKind.kind, nullptr, nullptr);
  doc.NewNode(lu, luFq, luKind.kind, nullptr, &entry);
  doc.NewLink(lu, parent, true, 0, nullptr);
}

}  // namespace

RefreshPassSlices::RefreshPassSlices(CMapvineDoc& doc, NodeAnswers answers, RefreshProgress* progress)
    : doc_(doc), answers_(std::move(answers)), progress_(progress) {
  Trace("Entered dorefresh()\n");
  doc_.StartReportRound();
  // A large network grows the picture many times during one pass; its
  // pixels are laid out once, at the end.
  doc_.DeferComposition(true);

  Trace("Updating NN & TG Topology\n");
  topologyCount_ = answers_.outcome.topology.Succeeded() ? answers_.tables.topology.size() : 0;
  TraceF("Found %i NNs or CPs in topology display\n", static_cast<int>(topologyCount_));
  if (progress_) progress_->Begin("Refresh", static_cast<int>(topologyCount_ + answers_.tables.lus.size()));
  if (topologyCount_ == 0) Continue(0);  // the LU heading comes at once
}

bool RefreshPassSlices::Continue(std::size_t records) {
  const TopologyTables& tables = answers_.tables;
  for (; records > 0 && next_ < topologyCount_; --records, ++next_) {
    const TopologyEntry& record = tables.topology[next_];
    if (record.holdsNode == 1) AddTopologyNode(doc_, record.node);
    if (record.holdsTg == 1 && !AddTopologyTg(doc_, record.tg)) waitingTgs_.push_back(&record.tg);
    if (progress_ && ++done_ % kProgressEvery == 0) progress_->Step(done_);
  }
  if (next_ == topologyCount_ && (records > 0 || topologyCount_ == 0)) {
    Trace("Updating LUs\n");
    TraceF("Found %i LUs in topology display\n", static_cast<int>(tables.lus.size()));
    ++next_;
  }
  for (; records > 0 && next_ > topologyCount_ && next_ <= topologyCount_ + tables.lus.size(); --records, ++next_) {
    AddDirectoryEntry(doc_, tables.lus[next_ - topologyCount_ - 1]);
    if (progress_ && ++done_ % kProgressEvery == 0) progress_->Step(done_);
  }
  const bool directoryDone = next_ > topologyCount_ + tables.lus.size();
  for (; records > 0 && directoryDone && nextWaitingTg_ < waitingTgs_.size(); --records) {
    LinkTg(doc_, *waitingTgs_[nextWaitingTg_++]);
  }
  return directoryDone && nextWaitingTg_ == waitingTgs_.size();
}

void RefreshPassSlices::Finish() {
  if (finished_) return;
  finished_ = true;
  if (progress_) progress_->Step(done_);
  // An abandoned pass still links the TGs whose ends it found.
  for (; nextWaitingTg_ < waitingTgs_.size(); ++nextWaitingTg_) LinkTg(doc_, *waitingTgs_[nextWaitingTg_]);
  waitingTgs_.clear();
  doc_.FinishReportRound();
  answers_.tables.Clear();
  doc_.FinishDeferredComposition();
}

RefreshOutcome dorefresh(CMapvineDoc& doc, NodeAnswers& answers, RefreshProgress* progress) {
  RefreshPassSlices pass(doc, std::move(answers), progress);
  while (!pass.Continue(SIZE_MAX)) {
  }
  pass.Finish();
  return pass.Outcome();
}

RefreshOutcome dorefresh(CMapvineDoc& doc, const SnaCtlFunction& snaCtl) {
  NodeAnswers answers = AskNode(snaCtl);
  return dorefresh(doc, answers);
}

}  // namespace mapvine
