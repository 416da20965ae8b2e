#pragma once

#include <cstdint>
#include <span>

#include "base/ByteReader.h"

namespace mapvine {

// Steps through the entries a node returned in a data buffer. Each entry
// starts with its own 16-bit length; the next entry begins that many bytes
// further on. The walk never leaves the buffer and ends at the first entry
// whose length could not hold even the length word itself, since such an
// entry would make no progress.
class EntryWalk {
 public:
  explicit EntryWalk(std::span<const std::uint8_t> buffer) : reader_(buffer) {}

  // Copies the next entry's first record.size() bytes into `record`. Bytes
  // that would lie beyond the buffer are zero. False when the walk is over.
  bool Next(std::span<std::uint8_t> record);

 private:
  ByteReader reader_;
  bool ended_ = false;
};

}  // namespace mapvine
