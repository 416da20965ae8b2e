#pragma once

#include <QImage>

#include <cstdlib>
#include <functional>

namespace mapvine::testing {

// The share of `drawn`'s pixels whose colour `expected` has at that pixel
// (within a small colour distance) or, with `withinAPixel`, at a
// neighbour: two rasterisers may put an edge a pixel apart.
inline double ShareMatching(const QImage& drawn, const std::function<QRgb(int x, int y)>& expected,
                            bool withinAPixel) {
  const auto close = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) <= 24;
  };
  const int reach = withinAPixel ? 1 : 0;
  long matching = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      bool matched = false;
      for (int dy = -reach; dy <= reach && !matched; ++dy) {
        for (int dx = -reach; dx <= reach && !matched; ++dx) {
          matched = drawn.valid(x + dx, y + dy) && close(drawn.pixel(x, y), expected(x + dx, y + dy));
        }
      }
      matching += matched;
    }
  }
  return drawn.isNull() ? 0 : double(matching) / (double(drawn.width()) * drawn.height());
}

}  // namespace mapvine::testing
