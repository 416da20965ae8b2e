#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mapvine {

// A copy of a name kept inside an index entry when it is short enough, as
// every SNA resource name is, so that comparing against it needs no visit
// to the object that owns the name: on a network too large for the cache,
// each such visit is a trip to memory.
class InlineName {
 public:
  static constexpr std::size_t kCapacity = 11;

  // Keeps `name` when it fits, else holds nothing.
  void Keep(std::string_view name) {
    if (name.size() > kCapacity) {
      length_ = kNotHeld;
      return;
    }
    length_ = static_cast<std::uint8_t>(name.size());
    name.copy(text_.data(), name.size());
  }
  bool Held() const { return length_ != kNotHeld; }
  // Only meaningful while Held().
  std::string_view View() const { return {text_.data(), length_}; }

 private:
  static constexpr std::uint8_t kNotHeld = 0xFF;
  std::uint8_t length_ = kNotHeld;
  std::array<char, kCapacity> text_{};
};

}  // namespace mapvine
