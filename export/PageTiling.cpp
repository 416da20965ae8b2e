#include "export/PageTiling.h"

#include <algorithm>

namespace mapvine {

std::vector<QRect> PartsAcrossPages(QSize picture, QSizeF pagePart) {
  const int partWidth = std::max(1, static_cast<int>(pagePart.width()));
  const int partHeight = std::max(1, static_cast<int>(pagePart.height()));
  const QRect whole(QPoint(0, 0), picture);
  std::vector<QRect> parts;
  for (int top = 0; top < picture.height(); top += partHeight) {
    for (int left = 0; left < picture.width(); left += partWidth) {
      parts.push_back(QRect(left, top, partWidth, partHeight).intersected(whole));
    }
  }
  return parts;
}

}  // namespace mapvine
