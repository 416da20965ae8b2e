#pragma once

// Reads the plain-text network description (format in README.md, worked
// example in resources/sample.net). Either the whole network and its
// timeline are valid and returned, or nothing is: the node never serves
// half a network.

#include <optional>
#include <string>
#include <string_view>

#include "snanode/Network.h"
#include "snanode/Timeline.h"

namespace snanode {

struct ParseResult {
  std::optional<Network> network;  // as the node first serves it, before any timed change
  Timeline timeline;
  std::string error;  // "sourceName:line: reason" when network is empty
};

ParseResult ParseNetwork(std::string_view text, std::string_view sourceName);

}  // namespace snanode
