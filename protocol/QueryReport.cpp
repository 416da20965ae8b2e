#include "protocol/QueryReport.h"

#include <span>
#include <string>

#include "base/LittleEndian.h"
#include "protocol/RecordText.h"
#include "protocol/ReturnCodes.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

std::uint16_t U16At(std::span<const std::uint8_t> record, std::size_t offset) {
  return LoadU16(record.data() + offset);
}

void PrintFailure(const char* query, VerbStatus status, std::ostream& out) {
  out << query << " query failed: " << ReturnCodesText(status) << "\n";
}

void PrintTopology(const std::vector<TopologyEntry>& records, std::ostream& out) {
  std::size_t networkNodes = 0;
  std::size_t connectionNetworks = 0;
  std::size_t otherNodes = 0;
  std::size_t tgs = 0;
  for (const TopologyEntry& record : records) {
    if (record.holdsTg != 0) {
      ++tgs;
    } else if (record.holdsNode != 0) {
      const std::uint8_t type = record.node[snawire::kNodeType];
      ++(type == snawire::kNodeTypeNetworkNode        ? networkNodes
         : type == snawire::kNodeTypeConnectionNetwork ? connectionNetworks
                                                       : otherNodes);
    }
  }
  out << "Topology: " << networkNodes << " network nodes, " << connectionNetworks << " connection networks, ";
  if (otherNodes != 0) out << otherNodes << " other nodes, ";
  out << tgs << " TGs\n";

  for (const TopologyEntry& record : records) {
    if (record.holdsNode != 0) {
      out << "  " << NodeTypeText(record.node[snawire::kNodeType]) << " " << DecodeNameAt(record.node, snawire::kNodeName)
          << ": " << NodeStatusText(record.node[snawire::kNodeStatus]) << "\n";
    } else if (record.holdsTg != 0) {
      out << "  TG " << static_cast<int>(record.tg[snawire::kTgNumber]) << " "
          << DecodeNameAt(record.tg, snawire::kTgOwner) << " -> " << DecodeNameAt(record.tg, snawire::kTgDestination) << ": "
          << TgStatusText(record.tg[snawire::kTgStatus]) << "\n";
    }
  }
}

void PrintDirectory(const std::vector<LuEntry>& records, std::ostream& out) {
  out << "Directory: " << records.size() << " LUs with a parent\n";
  for (const LuEntry& record : records) {
    const auto& entry = record.directory;
    out << "  " << ResourceTypeText(U16At(entry, snawire::kDirResourceType)) << " "
        << DecodeNameAt(entry, snawire::kDirResourceName) << ", parent "
        << ResourceTypeText(U16At(entry, snawire::kDirParentType)) << " " << DecodeNameAt(entry, snawire::kDirParentName)
        << "\n";
  }
}

}  // namespace

void PrintQueryReport(const NodeAnswers& answers, std::ostream& out) {
  if (answers.outcome.topology.Succeeded()) {
    PrintTopology(answers.tables.topology, out);
  } else {
    PrintFailure("Topology", answers.outcome.topology, out);
  }
  if (answers.outcome.directory.Succeeded()) {
    PrintDirectory(answers.tables.lus, out);
  } else {
    PrintFailure("Directory", answers.outcome.directory, out);
  }
}

}  // namespace mapvine
