#pragma once

// Network-qualified names as the node stores them: NETID.NAME in upper-case
// letters, digits and $ # @, carried on the wire as 17 EBCDIC bytes padded
// with blanks.

#include <array>
#include <cstdint>
#include <string_view>

#include "protocol/SnaWire.h"

namespace snanode {

using WireName = std::array<std::uint8_t, snawire::kNameLength>;

// 1-8 characters of network id, a dot, 1-8 characters of name, each
// character one of A-Z 0-9 $ # @.
bool IsValidName(std::string_view name);

// The EBCDIC field of a valid name. Characters outside the name alphabet
// (never present in a validated name) become 0xFF, EBCDIC's "no counterpart".
WireName EncodeName(std::string_view name);

}  // namespace snanode
