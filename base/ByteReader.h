#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "base/LittleEndian.h"

namespace mapvine {

// The one way untrusted bytes (node replies, bitmaps, saved files) are read:
// every read checks what remains first and fails instead of running past the
// end. A failed read leaves the position unchanged.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Position() const { return position_; }
  std::size_t Size() const { return bytes_.size(); }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool Has(std::size_t count) const { return count <= Remaining(); }

  // Moves to an absolute position; false (and no move) beyond the end.
  bool Seek(std::size_t position) {
    if (position > bytes_.size()) return false;
    position_ = position;
    return true;
  }
  bool Skip(std::size_t count) {
    if (!Has(count)) return false;
    position_ += count;
    return true;
  }

  bool ReadU8(std::uint8_t& out) { return Read(1, out, [](const std::uint8_t* p) { return *p; }); }
  bool ReadU16(std::uint16_t& out) { return Read(2, out, LoadU16); }
  bool ReadU32(std::uint32_t& out) { return Read(4, out, LoadU32); }
  bool ReadI32(std::int32_t& out) {
    std::uint32_t raw = 0;
    if (!ReadU32(raw)) return false;
    out = static_cast<std::int32_t>(raw);
    return true;
  }

  bool ReadBytes(std::span<std::uint8_t> out) {
    if (!Has(out.size())) return false;
    if (!out.empty()) std::memcpy(out.data(), bytes_.data() + position_, out.size());
    position_ += out.size();
    return true;
  }

  // A view of the next `count` bytes without copying; empty span and no
  // move when fewer remain.
  bool View(std::size_t count, std::span<const std::uint8_t>& out) {
    if (!Has(count)) return false;
    out = bytes_.subspan(position_, count);
    position_ += count;
    return true;
  }

 private:
  template <typename T, typename Load>
  bool Read(std::size_t size, T& out, Load load) {
    if (!Has(size)) return false;
    out = load(bytes_.data() + position_);
    position_ += size;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace mapvine
