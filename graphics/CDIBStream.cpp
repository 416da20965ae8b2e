// Reading and writing a BMP file image on a byte stream.
#include <algorithm>
#include <array>
#include <new>
#include <string>

#include "graphics/CDIB.h"
#include "graphics/CDIBLayout.h"

namespace mapvine {
namespace {

struct FileHeader {
  std::uint16_t signature = 0;
  std::uint32_t fileSize = 0;  // bfSize
  std::uint32_t pixelOffset = 0;  // bfOffBits
};

bool ReadFileHeader(ByteReader& in, FileHeader& out) {
  std::uint16_t reserved1 = 0;
  std::uint16_t reserved2 = 0;
  return in.ReadU16(out.signature) && in.ReadU32(out.fileSize) && in.ReadU16(reserved1) &&
         in.ReadU16(reserved2) && in.ReadU32(out.pixelOffset) &&
         out.signature == dib::kBmpSignature;
}

// Reads the header that follows the file header into the first 40 bytes of
// `block`, turning a 12-byte core header into the equivalent 40-byte one.
bool ReadInfoHeader(ByteReader& in, std::uint8_t* block, bool& isCore) {
  const std::size_t start = in.Position();
  if (!in.ReadBytes(std::span(block, CDIB::kInfoHeaderSize))) return false;
  const std::uint32_t size = LoadU32(block + dib::kBiSize);
  isCore = size == dib::kCoreHeaderSize;
  if (size == CDIB::kInfoHeaderSize) return true;
  if (!isCore) return false;

  std::uint32_t coreSize = 0;
  std::uint16_t width = 0, height = 0, planes = 0, bitCount = 0;
  in.Seek(start);
  if (!in.ReadU32(coreSize) || !in.ReadU16(width) || !in.ReadU16(height) ||
      !in.ReadU16(planes) || !in.ReadU16(bitCount)) {
    return false;
  }
  std::fill_n(block, CDIB::kInfoHeaderSize, 0);
  StoreU32(block + dib::kBiSize, CDIB::kInfoHeaderSize);
  StoreU32(block + dib::kBiWidth, width);
  StoreU32(block + dib::kBiHeight, height);
  StoreU16(block + dib::kBiPlanes, planes);
  StoreU16(block + dib::kBiBitCount, bitCount);
  return true;
}

// With `table` null the colour table is only stepped over.
bool ReadColorTable(ByteReader& in, std::uint8_t* table, bool isCore) {
  if (table == nullptr) return in.Skip((isCore ? 3 : 4) * dib::kMaxColorEntries);
  if (!isCore) return in.ReadBytes(std::span(table, 4 * dib::kMaxColorEntries));
  // Core tables hold three bytes per entry (blue, green, red).
  for (int i = 0; i < dib::kMaxColorEntries; ++i) {
    if (!in.ReadBytes(std::span(table + 4 * i, 3))) return false;
    table[4 * i + 3] = 0;
  }
  return true;
}

constexpr std::string_view kPixelsMissing = "Its pixels are missing or lie outside the file";

// Refusals that keep a hostile header from steering allocation or reads;
// empty when the shape is acceptable. Top-down bitmaps (negative height)
// are refused rather than flipped: every pixel operation and the writer
// rely on bottom-up rows, and the header is kept as read, so a flipped copy
// would be saved with the wrong orientation.
std::string ShapeRefusal(const std::uint8_t* header) {
  const std::int64_t width = dib::Width(header);
  const std::int64_t height = dib::Height(header);
  // Compressed pixels (RLE) would be taken as raw indices.
  if (LoadU32(header + dib::kBiCompression) != 0) return "Compressed (RLE) bitmaps are not supported";
  if (height < 0) return "Top-down bitmaps are not supported";
  if (width <= 0 || height == 0 || width > dib::kMaxSide || height > dib::kMaxSide) {
    return "Its size (" + std::to_string(width) + " x " + std::to_string(height) +
           " pixels) is not supported";
  }
  return {};
}

// Reads a BMP file image's headers into `header` (a whole header block)
// and finds its pixels, leaving the reader after the image; the reason for
// a refusal, empty when the image is sound. `keepColors` false leaves the
// colour table unread: checking a bitmap needs only its size.
std::string ReadBitmap(ByteReader& in, std::uint8_t* header, std::span<const std::uint8_t>& pixels,
                       bool keepColors) {
  const std::size_t start = in.Position();
  FileHeader file;
  if (!ReadFileHeader(in, file)) return "Not a BMP file";

  bool isCore = false;
  if (!ReadInfoHeader(in, header, isCore)) return "Its BMP header is damaged or of an unknown kind";
  const std::uint16_t bitCount = dib::BitCount(header);
  if (dib::ColorCountFor(bitCount, LoadU32(header + dib::kBiClrUsed), isCore) !=
      dib::kMaxColorEntries) {
    return std::string(CDIB::kOnly256Colors);
  }
  if (std::string refusal = ShapeRefusal(header); !refusal.empty()) return refusal;
  if (!ReadColorTable(in, keepColors ? header + dib::kColorTable : nullptr, isCore)) {
    return "The file ends inside its colour table";
  }

  // The pixels must lie after the colour table and inside the image's own
  // bytes (bfSize), and those bytes must be present in the stream.
  const std::uint64_t tableEnd = in.Position() - start;
  const std::uint64_t pixelBytes = dib::RowBytesFor(bitCount, dib::Width(header)) *
                                   static_cast<std::uint64_t>(dib::Height(header));
  if (file.pixelOffset < tableEnd || file.fileSize < file.pixelOffset ||
      file.fileSize > in.Size() - start || file.fileSize - file.pixelOffset < pixelBytes) {
    return std::string(kPixelsMissing);
  }
  in.Seek(start + file.pixelOffset);
  if (!in.View(static_cast<std::size_t>(pixelBytes), pixels)) return std::string(kPixelsMissing);
  if (bitCount != 8) return std::string(CDIB::kOnly256Colors);
  in.Seek(start + file.fileSize);
  return {};
}

std::string LoadFrom(ByteReader& in, std::shared_ptr<DibStorage>& loaded) {
  auto fresh = std::make_shared<DibStorage>();
  std::span<const std::uint8_t> pixels;
  if (std::string refusal = ReadBitmap(in, fresh->header.data(), pixels, true); !refusal.empty()) {
    return refusal;
  }
  try {
    fresh->bits.assign(pixels.begin(), pixels.end());
  } catch (const std::bad_alloc&) {
    return "Not enough memory for its pixels";
  }
  loaded = std::move(fresh);
  return {};
}

}  // namespace

DibLoadResult CDIB::Load(ByteReader& in) {
  loaded_ = true;
  const std::size_t start = in.Position();
  std::shared_ptr<DibStorage> fresh;
  if (std::string refusal = LoadFrom(in, fresh); !refusal.empty()) {
    in.Seek(start);
    return DibLoadResult::Refused(std::move(refusal));
  }
  storage_ = std::move(fresh);
  return DibLoadResult::Accepted();
}

bool CDIB::Skip(ByteReader& in) {
  const std::size_t start = in.Position();
  std::array<std::uint8_t, kHeaderBlockSize> header;  // only the info header is read
  std::span<const std::uint8_t> pixels;
  if (ReadBitmap(in, header.data(), pixels, false).empty()) return true;
  in.Seek(start);
  return false;
}

bool CDIB::Save(ByteSink& out) const {
  if (!storage_) return false;
  const std::size_t pixelBytes = static_cast<std::size_t>(RowBytes()) * GetHeight();
  if (Bits().size() < pixelBytes) return false;
  return out.WriteU16(dib::kBmpSignature) &&
         out.WriteU32(static_cast<std::uint32_t>(pixelBytes + kPixelDataOffset)) &&
         out.WriteU16(0) && out.WriteU16(0) && out.WriteU32(kPixelDataOffset) &&
         out.Write(storage_->header) && out.Write(Bits().first(pixelBytes));
}

}  // namespace mapvine
