#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "base/LittleEndian.h"

namespace mapvine {

// Where written bytes go (a file, a memory buffer, a test double that fails
// on purpose). Write answers false when the bytes could not be written; a
// writer stops at the first false.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;

  bool WriteU8(std::uint8_t v) { return Write(std::span(&v, 1)); }
  bool WriteU16(std::uint16_t v) {
    std::uint8_t b[2];
    StoreU16(b, v);
    return Write(b);
  }
  bool WriteU32(std::uint32_t v) {
    std::uint8_t b[4];
    StoreU32(b, v);
    return Write(b);
  }
  bool WriteI32(std::int32_t v) { return WriteU32(static_cast<std::uint32_t>(v)); }
};

class VectorSink final : public ByteSink {
 public:
  bool Write(std::span<const std::uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return true;
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace mapvine
