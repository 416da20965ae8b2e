#pragma once

// A simulated SNA network as its description file states it: the resources
// the node knows, the transmission groups between them and how partners
// answer APING. Every name here is already validated and upper-case;
// references between resources are known to resolve.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace snanode {

// OtherNode: a topology node record of a type the program does not draw
// (real nodes report such records, for example for LEN nodes).
enum class ResourceKind : std::uint8_t { NetworkNode, EndNode, ConnectionNetwork, LogicalUnit, OtherNode };

// How the node reacts to every verb.
enum class NodeState : std::uint8_t {
  Active,      // serves the network
  NotStarted,  // PARAMETER_CHECK / NODE_NOT_STARTED
  NotLoaded,   // COMM_SUBSYSTEM_NOT_LOADED
};

// Directory entry type and location, with their wire values.
enum class EntryType : std::uint8_t { Cached = 0, Registered = 2, Local = 3 };
enum class Location : std::uint8_t { Local = 0, AttachedEndNode = 1, CrossDomain = 2 };

struct DirectoryInfo {
  bool present = false;
  EntryType entryType = EntryType::Registered;
  Location location = Location::Local;
  std::string description;  // at most 16 characters
};

struct Resource {
  std::string name;  // network-qualified, e.g. NETA.NN1
  ResourceKind kind = ResourceKind::NetworkNode;
  // An LU's owning node or an end node's network-node server; empty if none.
  std::string parent;
  std::uint8_t status = 0;     // node status bits (network nodes, connection networks)
  std::uint8_t functions = 0;  // function-support bits (network nodes)
  std::uint8_t otherType = 0;  // node record type of an OtherNode
  DirectoryInfo directory;
};

struct TransmissionGroup {
  std::string owner;
  std::string destination;
  std::uint8_t number = 0;  // 1 to 255
  std::uint8_t status = 0;  // TG status bits; 0 = inoperative
};

struct ApingOutcome {
  bool answers = true;
  std::uint32_t delayMs = 0;  // waited before the answer, on top of the APING verb's own delay
  std::uint32_t allocateMs = 0;
  std::uint32_t minimumMs = 0;
  std::uint32_t averageMs = 0;
  std::uint32_t maximumMs = 0;
  std::uint16_t primary = 0;  // non-zero when the partner does not answer
  std::uint32_t secondary = 0;
};

struct ApingRule {
  std::string partner;
  ApingOutcome outcome;
};

// One verb that fails with chosen return codes while the others answer.
enum class FailingVerb : std::uint8_t {
  Topology,   // every node topology request
  TgBatch,    // the TG request whose batch carries record number tgRecord
  Directory,  // every directory request
  LuLookup,   // the LU detail lookup of luName
};

struct VerbFailure {
  FailingVerb verb = FailingVerb::Topology;
  std::size_t tgRecord = 0;  // 1-based, in the order the node lists TGs
  std::string luName;
  std::uint16_t primary = 0;
  std::uint32_t secondary = 0;
};

// What real nodes do that a client must survive.
struct NodeHabits {
  std::vector<VerbFailure> failures;
  // Bytes every entry carries beyond the fields defined today.
  std::uint16_t extraEntryBytes = 0;
  // Node and TG records carry flow-reduction sequence numbers.
  bool flowReduction = false;
  // Connection networks are no APPC partners: APING to one fails.
  bool silentConnectionNetworks = false;
};

// The verbs whose answers a description may slow down or hold back.
enum class TimedVerb : std::uint8_t { Topology, Directory, TgBatch, LuLookup, Aping };
inline constexpr std::size_t kTimedVerbCount = 5;

// How long a verb takes: every request of it waits `delayMs` before it is
// answered, or, while `hang` is set, until the description changes.
struct VerbTiming {
  std::uint32_t delayMs = 0;
  bool hang = false;
  friend bool operator==(const VerbTiming&, const VerbTiming&) = default;
};

// The longest delay a description may ask for.
inline constexpr std::uint32_t kMaxDelayMs = 600000;

struct Network {
  NodeState state = NodeState::Active;
  std::array<VerbTiming, kTimedVerbCount> timing{};
  std::vector<Resource> resources;
  std::vector<TransmissionGroup> tgs;
  std::vector<ApingRule> aping;
  NodeHabits habits;
};

// The most bytes an entry may carry beyond its fields.
inline constexpr std::uint16_t kMaxExtraEntryBytes = 512;

// Each verb answers at most this many entries: its totals travel as u16.
inline constexpr std::size_t kMaxListEntries = 65535;

}  // namespace snanode
