#pragma once

// Field positions of the 40-byte BITMAPINFOHEADER at the start of a header
// block, and the size rules derived from it. Shared by the image code and
// anything that builds a header block by hand (the drawing surface).

#include <cstddef>
#include <cstdint>

#include "base/ByteReader.h"

namespace mapvine::dib {

inline constexpr std::size_t kBiSize = 0;
inline constexpr std::size_t kBiWidth = 4;
inline constexpr std::size_t kBiHeight = 8;
inline constexpr std::size_t kBiPlanes = 12;
inline constexpr std::size_t kBiBitCount = 14;
inline constexpr std::size_t kBiCompression = 16;
inline constexpr std::size_t kBiClrUsed = 32;
inline constexpr std::size_t kColorTable = 40;  // 256 entries: blue, green, red, reserved
inline constexpr int kMaxColorEntries = 256;
inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::uint16_t kBmpSignature = 0x4D42;  // "BM"

// Each side is limited so that RowBytes x Height stays far from any overflow
// even at 32 bits per pixel (at most 128 KiB x 32768 = 4 GiB, computed in 64
// bits); no picture of this program comes near it.
inline constexpr std::int64_t kMaxSide = 32768;

// Rows are padded to a multiple of 4 bytes.
constexpr std::uint64_t RowBytesFor(std::uint64_t bitCount, std::uint64_t width) {
  return ((bitCount * width + 31) / 32) * 4;
}

// Number of colour-table entries a header describes. `coreHeader` is true for
// the 12-byte OS/2 header, which has no biClrUsed and always uses the default.
constexpr std::uint32_t ColorCountFor(std::uint32_t bitCount, std::uint32_t clrUsed,
                                      bool coreHeader) {
  std::uint32_t byDepth = 0;
  if (bitCount == 1) byDepth = 2;
  if (bitCount == 4) byDepth = 16;
  if (bitCount == 8) byDepth = 256;
  if (coreHeader || clrUsed == 0) return byDepth;
  return byDepth != 0 && clrUsed > byDepth ? byDepth : clrUsed;
}

inline std::int32_t Width(const std::uint8_t* header) {
  return static_cast<std::int32_t>(LoadU32(header + kBiWidth));
}
inline std::int32_t Height(const std::uint8_t* header) {
  return static_cast<std::int32_t>(LoadU32(header + kBiHeight));
}
inline std::uint16_t BitCount(const std::uint8_t* header) { return LoadU16(header + kBiBitCount); }

}  // namespace mapvine::dib
