#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mapvine {

// The node's text is EBCDIC. These two tables are the node's own, not a
// standard code page, and they are not exact inverses of each other: bytes
// without a counterpart map to 0xFF, and a few control characters go one
// way only.
extern const std::array<std::uint8_t, 256> kAsciiToEbcdicTable;
extern const std::array<std::uint8_t, 256> kEbcdicToAsciiTable;

// Convert the bytes in place.
void AsciiToEbcdic(std::span<std::uint8_t> bytes);
// Returns the number of bytes converted.
std::size_t EbcdicToAscii(std::span<std::uint8_t> bytes);

}  // namespace mapvine
