#pragma once

// The simulated local SNA node: answers the verbs of the SnaCtl entry point
// from a network held in memory. Call never throws, never writes outside the
// block length or the buffer size it is given, and never reads a field
// beyond the block length. It keeps no state between calls, so concurrent
// calls are safe.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "snanode/Network.h"
#include "snanode/NodeTables.h"

namespace snanode {

// Secondary return codes the node answers with, beyond those in SnaWire.h.
inline constexpr std::uint32_t kRcPipLenIncorrect = 0x16000000;            // block shorter than its verb
inline constexpr std::uint32_t kRcInvalidBtuSize = 0x44100000;             // no data buffer
inline constexpr std::uint32_t kRcInvalidListOption = 0x47100000;
inline constexpr std::uint32_t kRcInvalidOpCode = 0x2D100000;
inline constexpr std::uint32_t kRcInvalidFqLuName = 0xFD010000;            // APING without a partner
inline constexpr std::uint32_t kRcAllocationFailureNoRetry = 0x04000000;  // unknown APING partner

class SimulatedNode {
 public:
  // A network whose state is not Active fails every verb accordingly.
  explicit SimulatedNode(Network network);

  // A node that fails every verb with these codes (for example after a
  // description that did not parse).
  static SimulatedNode Failing(std::uint16_t primary, std::uint32_t secondary);

  void Call(void* block, std::uint32_t length) const;

  // How long the description makes this request take (Call itself never
  // waits: the node that serves the library does, see LiveNode).
  VerbTiming TimingOf(const void* block, std::uint32_t length) const;

 private:
  struct Failure {
    std::uint16_t primary;
    std::uint32_t secondary;
  };

  explicit SimulatedNode(Failure failure);

  void ServeList(std::uint8_t* block, std::uint32_t length, std::uint32_t verbLength, const EntryList& list) const;
  // The failure the description chose for this request, if any.
  const Failure* ChosenFailure(const std::uint8_t* block, std::size_t start, std::size_t count) const;
  void Aping(std::uint8_t* block, std::uint32_t length) const;

  struct ChosenVerbFailure {
    FailingVerb verb;
    std::size_t tgIndex;  // 0-based
    WireName luName;
    Failure failure;
  };

  std::optional<Failure> failure_;
  std::array<VerbTiming, kTimedVerbCount> timing_{};
  std::vector<ChosenVerbFailure> chosenFailures_;
  NodeTables tables_;
};

}  // namespace snanode
