#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

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

  bool ReadU8(std::uint8_t& out) { return ReadLittleEndian(out); }
  bool ReadU16(std::uint16_t& out) { return ReadLittleEndian(out); }
  bool ReadU32(std::uint32_t& out) { return ReadLittleEndian(out); }
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
  template <typename T>
  bool ReadLittleEndian(T& out) {
    if (!Has(sizeof(T))) return false;
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
      value = static_cast<T>(value | (static_cast<T>(bytes_[position_ + i]) << (8 * i)));
    }
    position_ += sizeof(T);
    out = value;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Little-endian field access into fixed-layout blocks whose size the caller
// has already checked (verb control blocks, headers it allocated itself).
inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace mapvine
