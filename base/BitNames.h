#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace mapvine {

// A bit of a flag byte and the words it stands for.
using BitName = std::pair<std::uint8_t, std::string_view>;

// `text` followed by the names of the bits set in `bits`, in the order
// given, joined by ", ".
inline std::string JoinBitNames(std::uint8_t bits, std::initializer_list<BitName> names,
                                std::string text = {}) {
  for (const auto& [bit, name] : names) {
    if ((bits & bit) == 0) continue;
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}

}  // namespace mapvine
