#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

#include "graphics/LineDrawing.h"
#include "render/OverviewCanvas.h"

namespace mapvine {
namespace {

// A plain line is the walk's pixels inside the clip, and nothing else.
void ExpectLineIsTheWalk(QSize size, QRect clip, QPoint from, QPoint to) {
  QImage drawn(size, QImage::Format_RGB32), walked = drawn;
  drawn.fill(0);
  walked.fill(0);
  overview::Pixels(drawn, clip).Line(from, to, 1);
  for (LineWalk walk = LineWalk::Between(from.x(), from.y(), to.x(), to.y());; walk.Step()) {
    if (clip.contains(walk.x, walk.y)) walked.setPixel(walk.x, walk.y, 1);
    if (walk.x == to.x() && walk.y == to.y()) break;
  }
  EXPECT_EQ(drawn, walked) << from.x() << "," << from.y() << " to " << to.x() << "," << to.y();
}

// A frame shows a few pixels of lines that may run far beyond it: what it
// shows, dashes included, is what a walk over the whole line puts there.
TEST(OverviewCanvasTest, ClippedLinesMatchTheWholeWalk) {
  const QPoint ends[][2] = {{{-5000, -3700}, {9000, 6100}}, {{-3000, 9000}, {170, -12000}},
                            {{-900, 149}, {900, 151}}, {{100, 75}, {100, 75}},
                            {{-30000, 140}, {170, -9}}, {{-70000, 149}, {210, 60}},
                            {{300, 400}, {126, 84}}};  // ends on a corner of a clip
  for (const auto& [from, to] : ends) {
    for (const QRect clip : {QRect(0, 0, 200, 150), QRect(37, 21, 90, 64), QRect(0, 149, 200, 1)}) {
      QImage drawn(200, 150, QImage::Format_RGB32), walked = drawn;
      drawn.fill(0);
      walked.fill(0);
      overview::Pixels(drawn, clip).DashedLine(from, to, 1, 2, 3);
      const bool flat = std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y());
      LineWalk walk = LineWalk::Between(from.x(), from.y(), to.x(), to.y());
      for (int step = 0;; ++step, walk.Step()) {
        const auto put = [&](int x, int y, QRgb c) { if (clip.contains(x, y)) walked.setPixel(x, y, c); };
        put(walk.x, walk.y, step / 3 % 2 != 0 ? 2 : 1);
        if (step / 3 % 2 == 0) put(walk.x + !flat, walk.y + flat, 1);
        if (walk.x == to.x() && walk.y == to.y()) break;
      }
      EXPECT_EQ(drawn, walked) << from.x() << "," << from.y() << " clip " << clip.y();
      ExpectLineIsTheWalk(drawn.size(), clip, from, to);
    }
  }
}

// A line, in any direction and of any length down to one pixel, sets the
// pixels the walk visits, whether it lies inside the clip or runs out.
TEST(OverviewCanvasTest, LinesMatchTheWalkInEveryDirection) {
  for (int x = -29; x <= 29; ++x) {
    for (int y = -29; y <= 29; ++y) {
      for (const QPoint from : {QPoint(30, 30), QPoint(30 + y / 2, 30 - x / 2)}) {
        ExpectLineIsTheWalk(QSize(61, 61), QRect(1, 1, 59, 59), from, from + QPoint(x, y));
      }
    }
  }
}

}  // namespace
}  // namespace mapvine
