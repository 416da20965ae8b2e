#pragma once

// How every partner the node can reach answers APING: each resource of the
// network answers with small believable times unless an aping line of the
// description says otherwise; aping lines may also name partners beyond
// the described network. Anyone else is unknown.

#include <utility>
#include <vector>

#include "snanode/NameCodec.h"
#include "snanode/Network.h"

namespace snanode {

class ApingTable {
 public:
  explicit ApingTable(const Network& network);

  // The outcome for the partner whose 17-byte EBCDIC field is given, or
  // nullptr when the partner is unknown.
  const ApingOutcome* Find(const WireName& partner) const;

  // The times a resource without an aping line answers with: a few
  // milliseconds, different per name but the same on every run.
  static ApingOutcome DefaultOutcome(std::string_view name);

 private:
  std::vector<std::pair<WireName, ApingOutcome>> partners_;  // sorted by name
};

}  // namespace snanode
