#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <array>
#include <cstdint>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/Geometry.h"

namespace mapvine {

// The colour table of an 8-bit image as 256 opaque QRgb values; entries past
// the image's colour count are black.
std::array<QRgb, 256> ColorTableOf(const CDIB& image);
// The same for a palette's entries.
std::array<QRgb, 256> ColorTableOf(const CDIBPal& palette);

// Converts `area` of the 8-bit `source` (picture coordinates, cut to the
// source) through `table` into the RGB32 `dest`, with the area's top-left
// corner landing at `at`. Pixels that would fall outside `dest` are left
// out. Returns the number of pixels converted.
long ConvertIndexedArea(const CDIB& source, const std::array<QRgb, 256>& table, const Rect& area,
                        QImage& dest, QPoint at);

// The whole 8-bit image in true colour; null for an image that is not 8-bit.
QImage ToRgbImage(const CDIB& source);
// The same with every pixel of palette index `transparent` see-through, as
// an icon is drawn over the picture.
QImage ToArgbImage(const CDIB& source, std::uint8_t transparent);

}  // namespace mapvine
