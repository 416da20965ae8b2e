#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/QualifiedName.h"
#include "protocol/SnaWire.h"

namespace mapvine {

// A 17-byte EBCDIC name field as the node stores it.
using NameField = std::span<const std::uint8_t, snawire::kNameLength>;

// The field as text: converted, cut at the first 0x00, trailing blanks
// removed. Bytes without an ASCII counterpart stay in the text as 0xFF.
std::string DecodeName(NameField field);

// The name stored at `offset` of a record the node returned, decoded.
template <std::size_t N>
std::string DecodeNameAt(const std::array<std::uint8_t, N>& record, std::size_t offset) {
  return DecodeName(std::span(record).subspan(offset).template first<snawire::kNameLength>());
}

// Fills `field` for sending to the node: blanks first, then the name
// upper-cased and converted, left-aligned; cut at the field's length.
void EncodeName(std::string_view name, std::span<std::uint8_t> field);

}  // namespace mapvine
