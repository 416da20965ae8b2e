#pragma once

// How a described network changes while the node runs: statements that
// take effect a given number of seconds after the node first answered.
// A resource, TG or APING line replaces the one of the same name (or TG
// key) or adds a new one; a removal takes a resource or TG away. A
// resource whose owner or TG end is absent is not served, and comes back
// with it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "snanode/Network.h"

namespace snanode {

struct ResourceRemoval {
  std::string name;
};

struct TgRemoval {
  std::string owner;
  std::string destination;
  std::uint8_t number = 0;
};

// "delay VERB MS" or "hang VERB" taking effect at its time.
struct TimingChange {
  TimedVerb verb = TimedVerb::Topology;
  VerbTiming timing;
};

using Change = std::variant<Resource, TransmissionGroup, ApingRule, ResourceRemoval, TgRemoval, TimingChange>;

struct TimedChange {
  std::uint32_t seconds = 0;
  std::size_t line = 0;  // where the description states it
  Change change;
};

struct Timeline {
  std::vector<TimedChange> changes;  // by time; file order within a second
  std::uint32_t repeatSeconds = 0;   // the timeline starts over this often; 0 = plays once

  // How many changes are in effect `seconds` after the node first answered.
  std::size_t StepsAt(std::uint64_t seconds) const;
};

// The base network with the first `steps` changes of the timeline applied.
Network NetworkAfter(const Network& base, const Timeline& timeline, std::size_t steps);

// Plays the timeline against the base network's names and answers the
// first change that names something absent at its time (or changes a
// resource's kind) as "source:line: reason"; empty when every change fits.
std::string CheckTimeline(const Network& base, const Timeline& timeline, std::string_view source);

// Timed statements a description may hold: far more than any hand-written
// timeline, few enough that replaying them stays quick.
inline constexpr std::size_t kMaxTimedChanges = 10000;

}  // namespace snanode
