#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CSpriteList.h"

namespace mapvine {

// Every label and network-qualified name of the nodes once, in byte order,
// copied when taken: the names stay as they were however the nodes change
// afterwards. A large picture has a hundred thousand names and more, so they
// share one block of text rather than a string each.
class SortedNames {
 public:
  explicit SortedNames(const CSpriteList& nodes);

  std::size_t size() const { return starts_.size() - 1; }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
  }
  // The positions, in order, of the names that hold `text` anywhere,
  // ignoring the case of ASCII letters as names are compared elsewhere.
  std::vector<std::uint32_t> Holding(std::string_view text) const;

 private:
  std::string text_;
  std::vector<std::size_t> starts_;  // name i is text_[starts_[i], starts_[i + 1])
};

}  // namespace mapvine
