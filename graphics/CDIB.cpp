// Construction, header queries and wholesale replacement of an image.
#include "graphics/CDIB.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "graphics/CDIBLayout.h"
#include "graphics/CDIBPal.h"

namespace mapvine {

CDIB::CDIB() { Create(16, 16); }

bool CDIB::Create(int width, int height, const CDIBPal* palette) {
  // A size no image could have is refused before anything is released, so
  // the image keeps what it showed.
  if (width <= 0 || height <= 0 || width > dib::kMaxSide || height > dib::kMaxSide) return false;
  loaded_ = false;
  const std::size_t pixelBytes = dib::RowBytesFor(8, width) * static_cast<std::size_t>(height);
  std::shared_ptr<DibStorage> fresh;
  if (storage_ && storage_.use_count() == 1 && storage_->bits.size() == pixelBytes) {
    // Pixels held by this image alone are reused at the same size, so that
    // a large picture laid out again (reopened, rearranged) does not fault
    // in fresh memory.
    fresh = std::move(storage_);
    fresh->header.fill(0);
    std::fill(fresh->bits.begin(), fresh->bits.end(), 0);
  } else {
    try {
      fresh = std::make_shared<DibStorage>();
      fresh->bits.assign(pixelBytes, 0);
    } catch (const std::bad_alloc&) {
      storage_.reset();
      return false;
    }
  }
  std::uint8_t* header = fresh->header.data();
  StoreU32(header + dib::kBiSize, kInfoHeaderSize);
  StoreU32(header + dib::kBiWidth, static_cast<std::uint32_t>(width));
  StoreU32(header + dib::kBiHeight, static_cast<std::uint32_t>(height));
  StoreU16(header + dib::kBiPlanes, 1);
  StoreU16(header + dib::kBiBitCount, 8);
  for (int i = 0; i < dib::kMaxColorEntries; ++i) {
    std::uint8_t* entry = header + dib::kColorTable + 4 * i;
    entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
  }
  storage_ = std::move(fresh);
  if (palette == nullptr) return true;
  if (!palette->HasPalette()) return false;

  const auto entries = palette->Entries();
  const std::size_t n = std::min<std::size_t>(entries.size(), dib::kMaxColorEntries);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint8_t* entry = header + dib::kColorTable + 4 * i;
    entry[0] = entries[i].blue;
    entry[1] = entries[i].green;
    entry[2] = entries[i].red;
  }
  StoreU32(header + dib::kBiClrUsed, static_cast<std::uint32_t>(n));
  return true;
}

int CDIB::GetWidth() const { return storage_ ? dib::Width(HeaderBlock()) : 0; }
int CDIB::GetHeight() const { return storage_ ? dib::Height(HeaderBlock()) : 0; }
int CDIB::BitCount() const { return storage_ ? dib::BitCount(HeaderBlock()) : 0; }

int CDIB::RowBytes() const {
  if (!storage_) return 0;
  return static_cast<int>(dib::RowBytesFor(BitCount(), static_cast<std::uint32_t>(GetWidth())));
}

Rect CDIB::GetRect() const { return {0, 0, GetWidth(), GetHeight()}; }

int CDIB::ColorCount() const {
  if (!storage_) return 0;
  return static_cast<int>(
      dib::ColorCountFor(BitCount(), LoadU32(HeaderBlock() + dib::kBiClrUsed), false));
}

const std::uint8_t* CDIB::PixelPtr(int x, int y) const {
  if (!storage_ || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return nullptr;
  std::size_t offsetInRow = 0;
  switch (BitCount()) {
    case 1: offsetInRow = x / 8; break;
    case 4: offsetInRow = x / 2; break;
    case 8: offsetInRow = x; break;
    case 16: offsetInRow = 2 * static_cast<std::size_t>(x); break;
    case 24: offsetInRow = 3 * static_cast<std::size_t>(x); break;
    default: return nullptr;
  }
  // Rows are stored bottom-up: picture row y is memory row Height - y - 1.
  const std::size_t offset =
      static_cast<std::size_t>(GetHeight() - y - 1) * RowBytes() + offsetInRow;
  return offset < storage_->bits.size() ? storage_->bits.data() + offset : nullptr;
}

std::uint8_t* CDIB::PixelPtr(int x, int y) {
  return const_cast<std::uint8_t*>(std::as_const(*this).PixelPtr(x, y));
}

bool CDIB::IsSameImage(const CDIB& other) const {
  if (!storage_ || !other.storage_) return false;
  // The 40-byte header and the first colour entry.
  constexpr std::size_t kCompared = kInfoHeaderSize + 4;
  if (std::memcmp(HeaderBlock(), other.HeaderBlock(), kCompared) != 0) return false;
  if (RowBytes() != other.RowBytes() || GetHeight() != other.GetHeight()) return false;
  const std::size_t size = static_cast<std::size_t>(RowBytes()) * GetHeight();
  if (Bits().size() < size || other.Bits().size() < size) return false;
  return std::equal(Bits().begin(), Bits().begin() + size, other.Bits().begin());
}

namespace {

// Pixel bytes the 40-byte header at the start of `header` describes, or 0 when
// it describes nothing this class can hold (wrong size, depth or dimensions,
// or a colour table longer than the header span holds).
std::size_t DescribedPixelBytes(std::span<const std::uint8_t> header) {
  if (header.size() < CDIB::kInfoHeaderSize) return 0;
  if (LoadU32(header.data() + dib::kBiSize) != CDIB::kInfoHeaderSize) return 0;
  const std::int64_t width = dib::Width(header.data());
  const std::int64_t height = dib::Height(header.data());
  const std::uint16_t bitCount = dib::BitCount(header.data());
  if (width <= 0 || height <= 0 || width > dib::kMaxSide || height > dib::kMaxSide) return 0;
  if (bitCount == 0 || bitCount > 32) return 0;
  const std::uint64_t tableBytes =
      4ull * dib::ColorCountFor(bitCount, LoadU32(header.data() + dib::kBiClrUsed), false);
  if (tableBytes > dib::kMaxColorEntries * 4ull ||
      CDIB::kInfoHeaderSize + tableBytes > header.size()) {
    return 0;
  }
  return dib::RowBytesFor(bitCount, width) * static_cast<std::uint64_t>(height);
}

}  // namespace

// The surface hands over pixels it made itself; the header and table it
// describes are copied into a fresh block (the rest of the block is zero).
bool CDIB::AdoptPixels(std::span<const std::uint8_t> header, std::vector<std::uint8_t> bits) {
  const std::size_t pixelBytes = DescribedPixelBytes(header);
  if (pixelBytes == 0 || bits.size() < pixelBytes) return false;
  loaded_ = false;
  auto fresh = std::make_shared<DibStorage>();
  const std::size_t copied =
      kInfoHeaderSize +
      4 * dib::ColorCountFor(dib::BitCount(header.data()),
                             LoadU32(header.data() + dib::kBiClrUsed), false);
  std::copy_n(header.begin(), copied, fresh->header.begin());
  bits.resize(pixelBytes);
  fresh->bits = std::move(bits);
  storage_ = std::move(fresh);
  return true;
}

bool CDIB::CopyPixels(std::span<const std::uint8_t> header, std::span<const std::uint8_t> bits) {
  const std::size_t pixelBytes = DescribedPixelBytes(header);
  if (pixelBytes == 0 || bits.size() < pixelBytes) return false;
  std::vector<std::uint8_t> copy;
  try {
    copy.assign(bits.begin(), bits.begin() + pixelBytes);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return AdoptPixels(header, std::move(copy));
}

}  // namespace mapvine
