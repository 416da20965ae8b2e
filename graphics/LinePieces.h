#pragma once

#include <algorithm>
#include <cstdlib>

#include "graphics/Geometry.h"

namespace mapvine {

// The areas a line from `from` to `to` covers, piece by piece along it,
// each about `pieceLength` long and `margin` wider on every side: a long
// line's box may span much of a large picture while the line itself covers
// little of it.
template <typename Area>
void ForEachPieceOfLine(Point from, Point to, int pieceLength, int margin, Area area) {
  const int length = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  const int pieces = std::max(1, (length + pieceLength - 1) / pieceLength);
  const auto at = [&](int step) {
    return Point{from.x + static_cast<int>(static_cast<long long>(to.x - from.x) * step / pieces),
                 from.y + static_cast<int>(static_cast<long long>(to.y - from.y) * step / pieces)};
  };
  for (int i = 0; i < pieces; ++i) {
    const Point start = at(i);
    const Point end = at(i + 1);
    area(Rect{start.x, start.y, end.x, end.y}.Normalized().Inflated(margin, margin));
  }
}

}  // namespace mapvine
