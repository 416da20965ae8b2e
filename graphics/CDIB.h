#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "base/ByteSink.h"
#include "graphics/Geometry.h"

namespace mapvine {

class CDIBPal;

// `transparent` argument of the pixel copies: kOpaque copies every pixel;
// PaletteIndex(i) skips source pixels equal to i (only the low byte counts).
inline constexpr std::int32_t kOpaque = -1;
constexpr std::int32_t PaletteIndex(std::uint8_t index) { return 0x01000000 | index; }

// Whether an image was read and, when not, why, in words the user can act
// on. Reading from a stream gives the bare reason; reading a file names the
// file as well, ready to show. A failure with no reason is a file dialog
// the user cancelled. The loaders never show it themselves: a caller that
// reports the failure its own way (a damaged saved file) just drops it.
struct DibLoadResult {
  bool loaded = false;
  std::string reason;

  static DibLoadResult Accepted() { return {true, {}}; }
  static DibLoadResult Refused(std::string why) { return {false, std::move(why)}; }
  explicit operator bool() const { return loaded; }
  bool Cancelled() const { return !loaded && reason.empty(); }
};

// "Failed to open file" with the file's name and the system's reason.
std::string FailedToOpenText(std::string_view path, std::string_view systemReason);

// The pixels and header of an image. Sprites share one with the image they
// show, so a remap through any of them changes every sprite that shows it.
struct DibStorage {
  // 40-byte BITMAPINFOHEADER followed by 256 colour-table entries
  // (blue, green, red, reserved), always the full 1064 bytes.
  std::array<std::uint8_t, 1064> header{};
  // Bottom-up rows of RowBytes each.
  std::vector<std::uint8_t> bits;
};

// An 8-bit palette-indexed image held in the Windows DIB layout.
class CDIB {
 public:
  static constexpr std::size_t kFileHeaderSize = 14;
  static constexpr std::size_t kInfoHeaderSize = 40;
  static constexpr std::size_t kHeaderBlockSize = 1064;
  static constexpr std::uint32_t kPixelDataOffset = 1078;  // as written by Save
  static constexpr std::string_view kFileFilter =
      "Image files (*.DIB, *.BMP)|*.DIB;*.BMP|All files (*.*)|*.*||";
  static constexpr std::string_view kOnly256Colors =
      "Only 256 color (8 bpp) bitmaps are supported";
  static constexpr std::string_view kFailedToOpen = "Failed to open file";
  static constexpr std::string_view kFailedToSave = "Failed to save file";
  // Bitmap files larger than this are refused before anything is read.
  static constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

  // A 16 x 16 image, grey-ramp colour table, every pixel index 0.
  CDIB();
  virtual ~CDIB() = default;
  CDIB(const CDIB&) = delete;
  CDIB& operator=(const CDIB&) = delete;

  // New blank image (all index 0). With a palette its entries fill the colour
  // table and biClrUsed; otherwise the table is a grey ramp.
  bool Create(int width, int height, const CDIBPal* palette = nullptr);

  // Loads a bitmap that ships with the program (resources/), by file name.
  virtual bool LoadFromResource(std::string_view name);
  // Reads a BMP file image starting at the reader's position; on success the
  // reader stands just after it (start + bfSize). On failure the image and
  // the reader's position are unchanged.
  virtual DibLoadResult Load(ByteReader& in);
  // Steps over a bitmap that Load would accept, keeping nothing of it; a
  // bitmap Load would refuse is refused alike (reader left where it was).
  static bool Skip(ByteReader& in);
  // Loads a file; an empty path asks with the open-file dialog.
  virtual DibLoadResult Load(const std::string& path);
  // Writes a BMP file image: 14 + 1064 header bytes, then RowBytes x Height.
  virtual bool Save(ByteSink& out) const;
  // Writes a file; an empty path asks with the save-file dialog.
  virtual bool Save(const std::string& path) const;

  virtual int GetWidth() const;
  virtual int RowBytes() const;
  virtual int GetHeight() const;
  virtual Rect GetRect() const;

  virtual bool RemapToPalette(const CDIBPal& palette);

  // Pixel copies between 8-bit images, (x, y) top-down. Callers clip: both
  // rectangles must lie inside their images (asserted in debug builds).
  virtual void CopyPixelsTo(CDIB& dest, int xd, int yd, int w, int h, int xs, int ys,
                            std::int32_t transparent) const;
  virtual void StretchPixelsTo(CDIB& dest, int xd, int yd, int wd, int hd, int xs, int ys, int ws,
                               int hs, std::int32_t transparent) const;
  virtual void DoublePixelsTo(CDIB& dest, int xd, int yd, int xs, int ys, int w, int h,
                              std::int32_t transparent) const;

  int ColorCount() const;
  // Address of pixel (x, y), top-down coordinates; null outside the image.
  std::uint8_t* PixelPtr(int x, int y);
  const std::uint8_t* PixelPtr(int x, int y) const;
  bool IsSameImage(const CDIB& other) const;

  // Replace header and pixels: `header` holds at least the 40-byte header and
  // its colour table. AdoptPixels takes `bits` over without copying.
  bool AdoptPixels(std::span<const std::uint8_t> header, std::vector<std::uint8_t> bits);
  bool CopyPixels(std::span<const std::uint8_t> header, std::span<const std::uint8_t> bits);

  bool HasHeader() const { return storage_ != nullptr; }
  bool Loaded() const { return loaded_; }
  // The 1064-byte header block; callers check HasHeader first.
  const std::uint8_t* HeaderBlock() const { return storage_->header.data(); }
  std::uint8_t* HeaderBlock() { return storage_->header.data(); }
  std::span<std::uint8_t> Bits() { return storage_->bits; }
  std::span<const std::uint8_t> Bits() const { return storage_->bits; }
  int BitCount() const;

  // Shows the same storage as `other` from now on (no copy).
  void ShareStorageOf(const CDIB& other) { storage_ = other.storage_; }
  bool SharesStorageWith(const CDIB& other) const { return storage_ == other.storage_; }

 protected:
  // An image showing `storage` from the start (shared, not copied).
  explicit CDIB(std::shared_ptr<DibStorage> storage) : storage_(std::move(storage)) {}

  std::shared_ptr<DibStorage> storage_;
  bool loaded_ = false;
};

}  // namespace mapvine
