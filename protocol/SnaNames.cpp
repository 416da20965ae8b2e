#include "protocol/SnaNames.h"

#include <algorithm>
#include <array>

#include "protocol/Ebcdic.h"

namespace mapvine {

std::string DecodeName(NameField field) {
  std::array<std::uint8_t, snawire::kNameLength> bytes{};
  std::copy(field.begin(), field.end(), bytes.begin());
  EbcdicToAscii(bytes);
  std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void EncodeName(std::string_view name, std::span<std::uint8_t> field) {
  std::fill(field.begin(), field.end(), snawire::kEbcdicBlank);
  const std::size_t count = std::min(name.size(), field.size());
  for (std::size_t i = 0; i < count; ++i) {
    const auto byte = static_cast<std::uint8_t>(name[i]);
    // Upper-case ASCII letters only: the table knows nothing else.
    const auto upper = (byte >= 'a' && byte <= 'z') ? static_cast<std::uint8_t>(byte - 'a' + 'A') : byte;
    field[i] = kAsciiToEbcdicTable[upper];
  }
}

}  // namespace mapvine
