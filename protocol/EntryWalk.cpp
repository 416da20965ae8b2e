#include "protocol/EntryWalk.h"

#include <algorithm>

namespace mapvine {

bool EntryWalk::Next(std::span<std::uint8_t> record) {
  if (ended_) return false;
  const std::size_t start = reader_.Position();
  std::uint16_t length = 0;
  if (!reader_.ReadU16(length) || length < sizeof(length)) {
    ended_ = true;
    return false;
  }

  reader_.Seek(start);
  std::span<const std::uint8_t> inside;
  reader_.View(std::min(record.size(), reader_.Remaining()), inside);
  const auto tail = std::copy(inside.begin(), inside.end(), record.begin());
  std::fill(tail, record.end(), std::uint8_t{0});

  // An entry that claims to run past the buffer's end is the last one.
  if (!reader_.Seek(start + length)) ended_ = true;
  return true;
}

}  // namespace mapvine
