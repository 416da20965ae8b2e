#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

#include "graphics/LineDrawing.h"
#include "render/OverviewCanvas.h"

namespace mapvine {
namespace {

using overview::Pixels;

constexpr QRgb kInk = qRgb(0, 255, 0);
constexpr QRgb kGap = qRgb(255, 0, 0);

// The line as a walk over every one of its pixels draws it, kept to `clip`.
QImage WholeWalk(QSize size, QRect clip, QPoint from, QPoint to, int dash) {
  QImage frame(size, QImage::Format_RGB32);
  frame.fill(Qt::black);
  const auto put = [&](int x, int y, QRgb color) {
    if (clip.contains(x, y)) frame.setPixel(x, y, color);
  };
  const bool flat = std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y());
  LineWalk walk = LineWalk::Between(from.x(), from.y(), to.x(), to.y());
  for (int step = 0;; ++step) {
    if (dash == 0) {
      put(walk.x, walk.y, kInk);
    } else if (step / dash % 2 != 0) {
      put(walk.x, walk.y, kGap);
    } else {
      put(walk.x, walk.y, kInk);
      put(walk.x + (flat ? 0 : 1), walk.y + (flat ? 1 : 0), kInk);
    }
    if (walk.x == to.x() && walk.y == to.y()) break;
    walk.Step();
  }
  return frame;
}

// A frame shows a few hundred pixels of lines that may run thousands of
// pixels beyond it: the part it shows is exactly what the whole line has
// there, dashes included, whatever the clip.
TEST(OverviewCanvasTest, LinesInsideTheClipAreThoseOfTheWholeLine) {
  const QSize size(200, 150);
  const struct {
    QPoint from, to;
  } lines[] = {
      {{-5000, -3700}, {9000, 6100}},   // far ends, shallow
      {{-3000, 9000}, {170, -12000}},   // far ends, steep
      {{-20000, 77}, {30000, 80}},      // nearly flat
      {{61, -40000}, {63, 40000}},      // nearly upright
      {{10, 10}, {190, 140}},           // wholly inside
      {{-900, 149}, {900, 151}},        // along the bottom edge
      {{100, 75}, {100, 75}},           // a point
      {{-7000, -7000}, {-6000, 9000}},  // never near
  };
  const QRect clips[] = {QRect(0, 0, 200, 150), QRect(37, 21, 90, 64), QRect(199, 0, 1, 150),
                         QRect(0, 149, 200, 1)};
  for (const auto& line : lines) {
    for (const QRect& clip : clips) {
      for (const int dash : {0, 3}) {
        QImage frame(size, QImage::Format_RGB32);
        frame.fill(Qt::black);
        const Pixels px(frame, clip);
        if (dash == 0) {
          px.Line(line.from, line.to, kInk);
        } else {
          px.DashedLine(line.from, line.to, kInk, kGap, dash);
        }
        EXPECT_EQ(frame, WholeWalk(size, clip, line.from, line.to, dash))
            << "from " << line.from.x() << "," << line.from.y() << " to " << line.to.x() << ","
            << line.to.y() << " clip " << clip.x() << "," << clip.y() << " dash " << dash;
      }
    }
  }
}

}  // namespace
}  // namespace mapvine
