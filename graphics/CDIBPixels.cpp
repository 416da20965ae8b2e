// Copies of pixel rectangles between 8-bit images: plain, stretched and
// doubled, each optionally skipping one transparent palette index.
#include <cassert>
#include <cstring>
#include <vector>

#include "graphics/CDIB.h"

namespace mapvine {
namespace {

// The copies do no clipping of their own; callers clip. A rectangle that is
// not inside its image is a caller's bug: it stops debug builds, and release
// builds skip the copy rather than write outside the pixels.
bool Inside(const CDIB& image, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
  return image.HasHeader() && image.BitCount() == 8 && x >= 0 && y >= 0 && w >= 0 && h >= 0 &&
         x + w <= image.GetWidth() && y + h <= image.GetHeight();
}

bool ClippedByCaller(bool inside) {
  assert(inside && "pixel copy rectangle outside its image: the caller must clip");
  return inside;
}

void CopyRow(std::uint8_t* to, const std::uint8_t* from, int count, std::int32_t transparent) {
  if (transparent == kOpaque) {
    std::memmove(to, from, static_cast<std::size_t>(count));
    return;
  }
  const auto key = static_cast<std::uint8_t>(transparent);
  // Fixed-size blocks through local copies, every destination byte written
  // back as itself or the source: a loop the compiler turns into vector
  // compares and blends. Composing thousands of icons is bound by this loop.
  constexpr int kBlock = 16;
  int i = 0;
  for (; i + kBlock <= count; i += kBlock) {
    std::uint8_t source[kBlock];
    std::uint8_t target[kBlock];
    std::memcpy(source, from + i, kBlock);
    std::memcpy(target, to + i, kBlock);
    for (int k = 0; k < kBlock; ++k) target[k] = source[k] == key ? target[k] : source[k];
    std::memcpy(to + i, target, kBlock);
  }
  for (; i < count; ++i) {
    if (from[i] != key) to[i] = from[i];
  }
}

}  // namespace

void CDIB::CopyPixelsTo(CDIB& dest, int xd, int yd, int w, int h, int xs, int ys,
                        std::int32_t transparent) const {
  if (w == 0 || h == 0) return;
  if (!ClippedByCaller(Inside(*this, xs, ys, w, h) && Inside(dest, xd, yd, w, h))) return;
  // From the bottom row up, which is forward in memory; both rectangles are
  // inside their images, so stepping by whole rows stays within the pixels.
  const std::uint8_t* from = PixelPtr(xs, ys + h - 1);
  std::uint8_t* to = dest.PixelPtr(xd, yd + h - 1);
  const std::ptrdiff_t fromStep = RowBytes();
  const std::ptrdiff_t toStep = dest.RowBytes();
  for (int row = 0;;) {
    CopyRow(to, from, w, transparent);
    if (++row == h) break;
    from += fromStep;
    to += toStep;
  }
}

void CDIB::StretchPixelsTo(CDIB& dest, int xd, int yd, int wd, int hd, int xs, int ys, int ws,
                           int hs, std::int32_t transparent) const {
  if (wd == 0 || hd == 0 || ws == 0 || hs == 0) return;
  if (wd == 2 * std::int64_t{ws} && hd == 2 * std::int64_t{hs}) {
    DoublePixelsTo(dest, xd, yd, xs, ys, ws, hs, transparent);
    return;
  }
  if (!ClippedByCaller(Inside(*this, xs, ys, ws, hs) && Inside(dest, xd, yd, wd, hd))) return;

  // Nearest neighbour: destination column i shows source column i * ws / wd.
  std::vector<int> sourceColumn(static_cast<std::size_t>(wd));
  for (int i = 0; i < wd; ++i) {
    sourceColumn[i] = static_cast<int>(static_cast<std::int64_t>(i) * ws / wd);
  }
  const auto key = static_cast<std::uint8_t>(transparent);
  int previousSourceRow = -1;
  for (int k = hd - 1; k >= 0; --k) {
    const int sourceRow = static_cast<int>(static_cast<std::int64_t>(hs) * k / hd);
    std::uint8_t* to = dest.PixelPtr(xd, yd + k);
    // An opaque row that repeats the source row above it is the same bytes
    // as the destination row written just before.
    if (transparent == kOpaque && sourceRow == previousSourceRow) {
      std::memmove(to, dest.PixelPtr(xd, yd + k + 1), static_cast<std::size_t>(wd));
      continue;
    }
    previousSourceRow = sourceRow;
    const std::uint8_t* from = PixelPtr(xs, ys + sourceRow);
    for (int i = 0; i < wd; ++i) {
      const std::uint8_t pixel = from[sourceColumn[i]];
      if (transparent == kOpaque || pixel != key) to[i] = pixel;
    }
  }
}

void CDIB::DoublePixelsTo(CDIB& dest, int xd, int yd, int xs, int ys, int w, int h,
                          std::int32_t transparent) const {
  if (w == 0 || h == 0) return;
  if (!ClippedByCaller(Inside(*this, xs, ys, w, h) &&
                       Inside(dest, xd, yd, 2 * std::int64_t{w}, 2 * std::int64_t{h}))) {
    return;
  }
  const auto key = static_cast<std::uint8_t>(transparent);
  for (int row = h - 1; row >= 0; --row) {
    const std::uint8_t* from = PixelPtr(xs, ys + row);
    std::uint8_t* lower = dest.PixelPtr(xd, yd + 2 * row + 1);
    std::uint8_t* upper = dest.PixelPtr(xd, yd + 2 * row);
    for (int j = 0; j < w; ++j) {
      if (transparent != kOpaque && from[j] == key) continue;
      lower[2 * j] = lower[2 * j + 1] = from[j];
      upper[2 * j] = upper[2 * j + 1] = from[j];
    }
  }
}

}  // namespace mapvine
