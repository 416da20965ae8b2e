#include "snanode/NodeTables.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "protocol/SnaWire.h"
#include "snanode/NameCodec.h"

namespace snanode {
namespace {

// Key lengths: the runs of key fields that follow each entry's length word.
constexpr std::size_t kNodeKeyLength = snawire::kNodeType + 1 - snawire::kNodeName;
constexpr std::size_t kTgKeyLength = snawire::kTgNumber + 1 - snawire::kTgOwner;
constexpr std::size_t kNameKeyLength = snawire::kNameLength;

// Topology records age out after this many days unless refreshed.
constexpr std::uint16_t kDaysUntilPurged = 15;
constexpr std::uint8_t kNetworkNodeResistance = 128;

void PutName(std::span<std::uint8_t> entry, std::size_t offset, std::string_view name) {
  const WireName field = EncodeName(name);
  std::copy(field.begin(), field.end(), entry.begin() + static_cast<std::ptrdiff_t>(offset));
}

// What records say of a resource they name, kept with its name so that a
// lookup needs no trip to the resource itself.
struct NamedKind {
  ResourceKind kind = ResourceKind::NetworkNode;
  std::uint8_t otherType = 0;
};

std::uint8_t TopologyType(NamedKind named) {
  switch (named.kind) {
    case ResourceKind::NetworkNode: return snawire::kNodeTypeNetworkNode;
    case ResourceKind::ConnectionNetwork: return snawire::kNodeTypeConnectionNetwork;
    case ResourceKind::OtherNode: return named.otherType;
    default: return kNodeTypeEndNode;
  }
}

bool HasNodeRecord(ResourceKind kind) { return kind != ResourceKind::EndNode && kind != ResourceKind::LogicalUnit; }

// What a node with the flow-reduction habit puts in a record's sequence
// field: stable per record, and never zero.
std::uint32_t FlowReductionNumber(std::size_t index) { return static_cast<std::uint32_t>(1001 + index); }

// The bytes a newer node appends after the fields a client knows: not
// zero, so a client that reads them as fields shows it.
constexpr std::uint8_t kAppendedByte = 0xEE;

std::uint16_t DirectoryType(ResourceKind kind) {
  switch (kind) {
    case ResourceKind::LogicalUnit: return snawire::kResourceLu;
    case ResourceKind::EndNode: return snawire::kResourceEndNode;
    default: return snawire::kResourceNetworkNode;
  }
}

// Resource sequence numbers are even in APPN; a stable one per resource
// keeps records identical from one refresh to the next.
std::uint32_t SequenceNumber(std::size_t index) { return static_cast<std::uint32_t>(2 * (index + 1)); }

class TableBuilder {
 public:
  explicit TableBuilder(const Network& network) : network_(network) {
    byName_.reserve(network.resources.size());
    for (const Resource& resource : network.resources) {
      byName_.emplace(resource.name, NamedKind{resource.kind, resource.otherType});
    }
  }

  NodeTables Build() {
    const std::size_t extra = network_.habits.extraEntryBytes;
    NodeTables tables{EntryList(snawire::kNodeRecordSize + extra, kNodeKeyLength),
                      EntryList(snawire::kTgRecordSize + extra, kTgKeyLength),
                      EntryList(snawire::kDirectoryRecordSize + extra, kNameKeyLength),
                      EntryList(snawire::kLuDetailSize + extra, kNameKeyLength), ApingTable(network_)};
    for (std::size_t i = 0; i < network_.resources.size(); ++i) {
      const Resource& resource = network_.resources[i];
      if (HasNodeRecord(resource.kind)) AddNodeRecord(tables.nodes, resource, i);
      if (resource.directory.present) {
        AddDirectoryRecord(tables.directory, resource);
        AddLuDetail(tables.luDetails, resource);
      }
    }
    for (std::size_t i = 0; i < network_.tgs.size(); ++i) AddTgRecord(tables.tgs, network_.tgs[i], i);
    for (EntryList* list : {&tables.nodes, &tables.tgs, &tables.directory, &tables.luDetails}) list->Sort();
    return tables;
  }

 private:
  std::span<std::uint8_t> Append(EntryList& list, std::size_t fieldsSize) const {
    const std::span<std::uint8_t> entry = list.Append();
    std::fill(entry.begin() + static_cast<std::ptrdiff_t>(fieldsSize), entry.end(), kAppendedByte);
    return entry;
  }

  // A parsed network has no dangling names; one built by hand might, and
  // then its records name a network node rather than failing.
  NamedKind Named(const std::string& name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? NamedKind{} : found->second;
  }

  void AddNodeRecord(EntryList& list, const Resource& resource, std::size_t index) const {
    const std::span<std::uint8_t> entry = Append(list, snawire::kNodeRecordSize);
    PutName(entry, snawire::kNodeName, resource.name);
    entry[snawire::kNodeType] = TopologyType({resource.kind, resource.otherType});
    if (network_.habits.flowReduction) snawire::PutU32(entry.data(), snawire::kNodeFrsn, FlowReductionNumber(index));
    snawire::PutU16(entry.data(), snawire::kNodeDaysLeft, kDaysUntilPurged);
    snawire::PutU32(entry.data(), snawire::kNodeRsn, SequenceNumber(index));
    entry[snawire::kNodeRar] = resource.kind == ResourceKind::NetworkNode ? kNetworkNodeResistance : 0;
    entry[snawire::kNodeStatus] = resource.status;
    entry[snawire::kNodeFunctionSupport] = resource.functions;
  }

  void AddTgRecord(EntryList& list, const TransmissionGroup& tg, std::size_t index) const {
    const std::span<std::uint8_t> entry = Append(list, snawire::kTgRecordSize);
    PutName(entry, snawire::kTgOwner, tg.owner);
    entry[snawire::kTgOwnerType] = TopologyType(Named(tg.owner));
    PutName(entry, snawire::kTgDestination, tg.destination);
    entry[snawire::kTgDestinationType] = TopologyType(Named(tg.destination));
    if (network_.habits.flowReduction) snawire::PutU32(entry.data(), snawire::kTgFrsn, FlowReductionNumber(index));
    entry[snawire::kTgNumber] = tg.number;
    snawire::PutU16(entry.data(), snawire::kTgDaysLeft, kDaysUntilPurged);
    snawire::PutU32(entry.data(), snawire::kTgRsn, SequenceNumber(index));
    entry[snawire::kTgStatus] = tg.status;
  }

  // Both directory records and LU details carry the resource and its parent.
  void PutIdentity(std::span<std::uint8_t> entry, const Resource& resource) const {
    PutName(entry, snawire::kDirResourceName, resource.name);
    snawire::PutU16(entry.data(), snawire::kDirResourceType, DirectoryType(resource.kind));
    if (resource.parent.empty()) return;  // parent field stays 0: no parent
    PutName(entry, snawire::kDirParentName, resource.parent);
    snawire::PutU16(entry.data(), snawire::kDirParentType, DirectoryType(Named(resource.parent).kind));
  }

  void AddDirectoryRecord(EntryList& list, const Resource& resource) const {
    const std::span<std::uint8_t> entry = Append(list, snawire::kDirectoryRecordSize);
    PutIdentity(entry, resource);
    const std::string& text = resource.directory.description;
    std::memcpy(entry.data() + snawire::kDirDescription, text.data(),
                std::min(text.size(), snawire::kDirDescriptionLength));
    entry[snawire::kDirEntryType] = static_cast<std::uint8_t>(resource.directory.entryType);
    entry[snawire::kDirLocation] = static_cast<std::uint8_t>(resource.directory.location);
  }

  void AddLuDetail(EntryList& list, const Resource& resource) const {
    PutIdentity(Append(list, snawire::kLuDetailSize), resource);
  }

  const Network& network_;
  std::unordered_map<std::string, NamedKind> byName_;
};

}  // namespace

NodeTables BuildNodeTables(const Network& network) { return TableBuilder(network).Build(); }

}  // namespace snanode
