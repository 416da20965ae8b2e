#include "snanode/NameCodec.h"

#include <algorithm>

namespace snanode {
namespace {

constexpr std::size_t kMaxPartLength = 8;

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '#' || c == '@';
}

bool IsValidPart(std::string_view part) {
  return !part.empty() && part.size() <= kMaxPartLength && std::all_of(part.begin(), part.end(), IsNameCharacter);
}

// EBCDIC places the alphabet in three runs: A-I, J-R and S-Z.
std::uint8_t ToEbcdic(char c) {
  if (c >= 'A' && c <= 'I') return static_cast<std::uint8_t>(0xC1 + (c - 'A'));
  if (c >= 'J' && c <= 'R') return static_cast<std::uint8_t>(0xD1 + (c - 'J'));
  if (c >= 'S' && c <= 'Z') return static_cast<std::uint8_t>(0xE2 + (c - 'S'));
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(0xF0 + (c - '0'));
  switch (c) {
    case '.': return 0x4B;
    case '$': return 0x5B;
    case '#': return 0x7B;
    case '@': return 0x7C;
    default: return 0xFF;
  }
}

}  // namespace

bool IsValidName(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return false;
  return IsValidPart(name.substr(0, dot)) && IsValidPart(name.substr(dot + 1));
}

WireName EncodeName(std::string_view name) {
  WireName field;
  field.fill(snawire::kEbcdicBlank);
  const std::size_t count = std::min(name.size(), field.size());
  for (std::size_t i = 0; i < count; ++i) field[i] = ToEbcdic(name[i]);
  return field;
}

}  // namespace snanode
