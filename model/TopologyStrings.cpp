#include "model/TopologyStrings.h"

#include <cstdint>

namespace mapvine::topology {
namespace {

// Lengths below kShortEscape fit the first byte; kShortEscape announces a
// 16-bit length, and a 16-bit kLongEscape a 32-bit one. 0xFFFE is not a
// length in the 16-bit form: it was set aside for wide strings, which this
// file never holds, so lengths from there on take the long form.
constexpr std::uint8_t kShortEscape = 0xFF;
constexpr std::uint16_t kReserved16 = 0xFFFE;
constexpr std::uint16_t kLongEscape = 0xFFFF;

bool ReadLength(ByteReader& in, std::uint32_t& length) {
  std::uint8_t first = 0;
  if (!in.ReadU8(first)) return false;
  if (first != kShortEscape) {
    length = first;
    return true;
  }
  std::uint16_t middle = 0;
  if (!in.ReadU16(middle) || middle == kReserved16) return false;
  if (middle != kLongEscape) {
    length = middle;
    return true;
  }
  return in.ReadU32(length);
}

}  // namespace

bool WriteCountedString(ByteSink& out, std::string_view text) {
  const std::size_t length = text.size();
  if (length > UINT32_MAX) return false;
  bool written = false;
  if (length < kShortEscape) {
    written = out.WriteU8(static_cast<std::uint8_t>(length));
  } else if (length < kReserved16) {
    written = out.WriteU8(kShortEscape) && out.WriteU16(static_cast<std::uint16_t>(length));
  } else {
    written = out.WriteU8(kShortEscape) && out.WriteU16(kLongEscape) &&
              out.WriteU32(static_cast<std::uint32_t>(length));
  }
  return written && out.Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), length));
}

bool ReadCountedString(ByteReader& in, std::string& text) {
  const std::size_t start = in.Position();
  std::uint32_t length = 0;
  std::span<const std::uint8_t> bytes;
  // The length is checked against what remains before anything is allocated.
  if (!ReadLength(in, length) || !in.View(length, bytes)) {
    in.Seek(start);
    return false;
  }
  text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace mapvine::topology
