#pragma once

// Test bitmaps built byte by byte, independently of the loader under test.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/CDIB.h"

namespace mapvine::dibtest {

// Pixel index at picture position (x, y), top-down.
inline std::uint8_t PatternPixel(int x, int y) { return static_cast<std::uint8_t>(7 * x + 31 * y + 1); }

// Colour-table entry i of the test bitmaps: red, green, blue.
struct Rgb {
  std::uint8_t red, green, blue;
};
inline Rgb PatternColor(int i) {
  return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
          static_cast<std::uint8_t>(i / 2)};
}

struct BmpDescription {
  int width = 5;
  int height = 3;
  std::uint16_t bitCount = 8;
  std::uint32_t colorsUsed = 0;
  bool coreHeader = false;
  std::function<std::uint8_t(int, int)> pixel = PatternPixel;
};

inline void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void PatchU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void PatchU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t v) {
  bytes[at] = static_cast<std::uint8_t>(v);
  bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Offsets into an encoded file with a 40-byte header.
inline constexpr std::size_t kAtFileSize = 2;
inline constexpr std::size_t kAtPixelOffset = 10;
inline constexpr std::size_t kAtHeaderSize = 14;
inline constexpr std::size_t kAtWidth = 18;
inline constexpr std::size_t kAtHeight = 22;
inline constexpr std::size_t kAtBitCount = 28;
inline constexpr std::size_t kAtCompression = 30;
inline constexpr std::size_t kAtColorsUsed = 46;

// A complete BMP file: file header, header, 256-entry colour table, pixels
// bottom-up with rows padded to 4 bytes (padding bytes 0xEE).
inline std::vector<std::uint8_t> EncodeBmp(const BmpDescription& d) {
  const int rowBytes = ((d.bitCount * d.width + 31) / 32) * 4;
  const std::uint32_t headerSize = d.coreHeader ? 12 : 40;
  const std::uint32_t tableSize = 256 * (d.coreHeader ? 3 : 4);
  const std::uint32_t pixelOffset = 14 + headerSize + tableSize;
  const std::uint32_t fileSize = pixelOffset + rowBytes * d.height;
  std::vector<std::uint8_t> out;
  PutU16(out, 0x4D42);
  PutU32(out, fileSize);
  PutU32(out, 0);
  PutU32(out, pixelOffset);
  PutU32(out, headerSize);
  if (d.coreHeader) {
    PutU16(out, static_cast<std::uint16_t>(d.width));
    PutU16(out, static_cast<std::uint16_t>(d.height));
    PutU16(out, 1);
    PutU16(out, d.bitCount);
  } else {
    PutU32(out, static_cast<std::uint32_t>(d.width));
    PutU32(out, static_cast<std::uint32_t>(d.height));
    PutU16(out, 1);
    PutU16(out, d.bitCount);
    for (std::uint32_t field : {0u, 0u, 2835u, 2835u, d.colorsUsed, 0u}) PutU32(out, field);
  }
  for (int i = 0; i < 256; ++i) {
    const Rgb c = PatternColor(i);
    out.insert(out.end(), {c.blue, c.green, c.red});
    if (!d.coreHeader) out.push_back(0);
  }
  for (int y = d.height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0xEE);
    if (d.bitCount == 8) {
      for (int x = 0; x < d.width; ++x) row[x] = d.pixel(x, y);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

inline DibLoadResult LoadBytes(CDIB& image, const std::vector<std::uint8_t>& bytes) {
  ByteReader reader(bytes);
  return image.Load(reader);
}


}  // namespace mapvine::dibtest
