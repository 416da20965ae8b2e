#include "snanode/SimulatedNode.h"

#include <algorithm>
#include <cstring>

#include "protocol/SnaWire.h"

namespace snanode {
namespace {

// The common header ends with the secondary return code.
constexpr std::uint32_t kHeaderLength = snawire::kSecondaryRc + 4;
constexpr std::uint32_t kPrimaryEnd = snawire::kPrimaryRc + 2;

void Answer(std::uint8_t* block, std::uint16_t primary, std::uint32_t secondary) {
  snawire::PutU16(block, snawire::kPrimaryRc, primary);
  snawire::PutU32(block, snawire::kSecondaryRc, secondary);
}

void ParameterCheck(std::uint8_t* block, std::uint32_t secondary) {
  Answer(block, snawire::kRcParameterCheck, secondary);
}

// Partner fields padded with zeros instead of EBCDIC blanks still name the
// same partner.
WireName PartnerField(const std::uint8_t* block) {
  WireName field;
  std::memcpy(field.data(), block + snawire::kApingPartner, field.size());
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  std::fill(end, field.end(), snawire::kEbcdicBlank);
  return field;
}

}  // namespace

SimulatedNode::SimulatedNode(Network network) : timing_(network.timing), tables_(BuildNodeTables(network)) {
  for (const VerbFailure& chosen : network.habits.failures) {
    chosenFailures_.push_back({chosen.verb, chosen.tgRecord - 1, EncodeName(chosen.luName),
                               Failure{chosen.primary, chosen.secondary}});
  }
  switch (network.state) {
    case NodeState::Active: break;
    case NodeState::NotStarted: failure_ = Failure{snawire::kRcParameterCheck, snawire::kRcNodeNotStarted}; break;
    case NodeState::NotLoaded: failure_ = Failure{snawire::kRcCommSubsystemNotLoaded, 0}; break;
  }
}

SimulatedNode::SimulatedNode(Failure failure) : failure_(failure), tables_(BuildNodeTables(Network{})) {}

SimulatedNode SimulatedNode::Failing(std::uint16_t primary, std::uint32_t secondary) {
  return SimulatedNode(Failure{primary, secondary});
}

void SimulatedNode::Call(void* block, std::uint32_t length) const {
  // Without room for the primary return code there is no way to answer.
  if (block == nullptr || length < kPrimaryEnd) return;
  auto* bytes = static_cast<std::uint8_t*>(block);
  if (length < kHeaderLength) {
    snawire::PutU16(bytes, snawire::kPrimaryRc, snawire::kRcParameterCheck);
    return;
  }
  if (failure_) {
    Answer(bytes, failure_->primary, failure_->secondary);
    return;
  }
  switch (snawire::GetU16(bytes, snawire::kOpcode)) {
    case snawire::kOpNodeTopologyQuery:
      ServeList(bytes, length, snawire::kNodeTopologyQueryLength, tables_.nodes);
      return;
    case snawire::kOpTgTopologyQuery:
      ServeList(bytes, length, snawire::kTgTopologyQueryLength, tables_.tgs);
      return;
    case snawire::kOpDirectoryQuery:
      ServeList(bytes, length, snawire::kDirectoryQueryLength, tables_.directory);
      return;
    case snawire::kOpDirectoryLuQuery:
      ServeList(bytes, length, snawire::kDirectoryLuQueryLength, tables_.luDetails);
      return;
    case snawire::kOpAping:
      Aping(bytes, length);
      return;
    default:
      Answer(bytes, snawire::kRcInvalidVerb, kRcInvalidOpCode);
      return;
  }
}

void SimulatedNode::ServeList(std::uint8_t* block, std::uint32_t length, std::uint32_t verbLength,
                              const EntryList& list) const {
  if (length < verbLength) return ParameterCheck(block, kRcPipLenIncorrect);
  const std::uint8_t* key = block + snawire::kKey;
  std::size_t start = 0;
  switch (block[snawire::kListOptions]) {
    case snawire::kListFromStart: start = 0; break;
    case snawire::kListAfterKey: start = list.FirstAfter(key); break;
    case snawire::kListAtKey: start = list.FirstAtOrAfter(key); break;
    default: return ParameterCheck(block, kRcInvalidListOption);
  }
  std::uint8_t* buffer = snawire::LoadBufferAddress(block);
  const std::uint32_t bufferSize = snawire::GetU32(block, snawire::kBufferSize);
  if (buffer == nullptr || bufferSize == 0) return ParameterCheck(block, kRcInvalidBtuSize);

  const std::uint16_t requested = snawire::GetU16(block, snawire::kEntryCount);
  std::size_t count = std::min(list.Size() - start, bufferSize / list.EntrySize());
  if (requested != 0) count = std::min<std::size_t>(count, requested);
  if (const Failure* chosen = ChosenFailure(block, start, count)) return Answer(block, chosen->primary, chosen->secondary);
  if (count > 0) std::memcpy(buffer, list.Entry(start), count * list.EntrySize());

  // A parsed network never holds more than the 16-bit totals can say.
  const std::size_t total = std::min(list.Size(), kMaxListEntries);
  snawire::PutU16(block, snawire::kEntryCount, static_cast<std::uint16_t>(count));
  snawire::PutU16(block, snawire::kTotalEntries, static_cast<std::uint16_t>(total));
  Answer(block, snawire::kRcOk, 0);
}

const SimulatedNode::Failure* SimulatedNode::ChosenFailure(const std::uint8_t* block, std::size_t start,
                                                          std::size_t count) const {
  const std::uint16_t opcode = snawire::GetU16(block, snawire::kOpcode);
  for (const ChosenVerbFailure& chosen : chosenFailures_) {
    bool fails = false;
    switch (chosen.verb) {
      case FailingVerb::Topology: fails = opcode == snawire::kOpNodeTopologyQuery; break;
      case FailingVerb::Directory: fails = opcode == snawire::kOpDirectoryQuery; break;
      case FailingVerb::TgBatch:
        fails = opcode == snawire::kOpTgTopologyQuery && start <= chosen.tgIndex && chosen.tgIndex < start + count;
        break;
      case FailingVerb::LuLookup:
        fails = opcode == snawire::kOpDirectoryLuQuery && block[snawire::kListOptions] == snawire::kListAtKey &&
                std::equal(chosen.luName.begin(), chosen.luName.end(), block + snawire::kLuKeyName);
        break;
    }
    if (fails) return &chosen.failure;
  }
  return nullptr;
}

VerbTiming SimulatedNode::TimingOf(const void* block, std::uint32_t length) const {
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  if (bytes == nullptr || length < snawire::kOpcode + 2) return {};
  TimedVerb verb;
  switch (snawire::GetU16(bytes, snawire::kOpcode)) {
    case snawire::kOpNodeTopologyQuery: verb = TimedVerb::Topology; break;
    case snawire::kOpTgTopologyQuery: verb = TimedVerb::TgBatch; break;
    case snawire::kOpDirectoryQuery: verb = TimedVerb::Directory; break;
    case snawire::kOpDirectoryLuQuery: verb = TimedVerb::LuLookup; break;
    case snawire::kOpAping: verb = TimedVerb::Aping; break;
    default: return {};
  }
  VerbTiming timing = timing_[static_cast<std::size_t>(verb)];
  if (verb == TimedVerb::Aping && length >= snawire::kApingLength) {
    if (const ApingOutcome* outcome = tables_.aping.Find(PartnerField(bytes))) timing.delayMs += outcome->delayMs;
  }
  return timing;
}

void SimulatedNode::Aping(std::uint8_t* block, std::uint32_t length) const {
  if (length < snawire::kApingLength) return ParameterCheck(block, kRcPipLenIncorrect);
  if (block[snawire::kApingPartner] == 0) return ParameterCheck(block, kRcInvalidFqLuName);
  const ApingOutcome* outcome = tables_.aping.Find(PartnerField(block));
  if (outcome == nullptr) return Answer(block, snawire::kRcAllocationError, kRcAllocationFailureNoRetry);
  if (!outcome->answers) return Answer(block, outcome->primary, outcome->secondary);
  snawire::PutU32(block, snawire::kApingAllocateTime, outcome->allocateMs);
  snawire::PutU32(block, snawire::kApingMinTime, outcome->minimumMs);
  snawire::PutU32(block, snawire::kApingAverageTime, outcome->averageMs);
  snawire::PutU32(block, snawire::kApingMaxTime, outcome->maximumMs);
  Answer(block, snawire::kRcOk, 0);
}

}  // namespace snanode
