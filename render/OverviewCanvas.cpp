#include "render/OverviewCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "graphics/LineDrawing.h"

namespace mapvine::overview {

Pixels::Pixels(QImage& frame, QRect clip)
    : frame(frame),
      clip(clip),
      bits_(reinterpret_cast<QRgb*>(frame.bits())),
      stride_(frame.bytesPerLine() / static_cast<int>(sizeof(QRgb))),
      left_(clip.left()),
      top_(clip.top()),
      right_(clip.right()),
      bottom_(clip.bottom()) {}

void Pixels::Fill(int x, int y, int w, int h, QRgb color) const {
  const QRect r = QRect(x, y, w, h).intersected(clip);
  for (int row = r.top(); row <= r.bottom(); ++row) {
    QRgb* line = Row(row);
    std::fill(line + r.left(), line + r.right() + 1, color);
  }
}

void Pixels::FillEveryOther(const QRect& area, int parity, QRgb color) const {
  const QRect r = area.intersected(clip);
  for (int row = r.top(); row <= r.bottom(); ++row) {
    QRgb* line = Row(row);
    const int first = r.left() + ((r.left() + row + parity) & 1);
    for (int x = first; x <= r.right(); x += 2) line[x] = color;
  }
}

namespace {

// The pixel beside a line's: below a flat line, to the right of a steep one.
QPoint Across(QPoint from, QPoint to) {
  return std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y()) ? QPoint(0, 1) : QPoint(1, 0);
}

}  // namespace

template <typename Visit>
void Pixels::Walk(QPoint from, QPoint to, Visit visit) const {
  const QRect box = QRect(from, to).normalized();
  if (!box.adjusted(-2, -2, 2, 2).intersects(clip)) return;
  if (clip.contains(box.adjusted(-1, -1, 1, 1))) {
    // Wholly inside, as most lines of a fitted frame are: the walk needs no
    // skipping ahead.
    LineWalk walk = LineWalk::Between(from.x(), from.y(), to.x(), to.y());
    for (int step = 0;; ++step) {
      visit(walk.x, walk.y, step);
      if (walk.x == to.x() && walk.y == to.y()) break;
      walk.Step();
    }
    return;
  }
  // A zoomed-in frame shows a few hundred pixels of lines thousands long:
  // only the part near the clip is walked. A visit writes at most one
  // pixel beside the walk's, on either side.
  const Rect near{left_ - 1, top_ - 1, right_ + 2, bottom_ + 2};
  const std::optional<WalkPart> part =
      WalkNear(LineWalk::Between(from.x(), from.y(), to.x(), to.y()), near);
  if (!part) return;
  LineWalk walk = part->walk;
  for (long long step = part->first; step <= part->last; ++step) {
    visit(walk.x, walk.y, static_cast<int>(step));
    if (walk.x == to.x() && walk.y == to.y()) break;
    walk.Step();
  }
}

void Pixels::Line(QPoint from, QPoint to, QRgb color) const {
  // Most lines of a fitted frame lie wholly inside, as both their ends do:
  // no check per pixel.
  if (Inside(from) && Inside(to) && SteppedLine(from, to, color)) return;
  Walk(from, to, [&](int x, int y, int) { Put(x, y, color); });
}

namespace {

// floor(n / divisor) for every n below 2^31 by a multiplication and a shift
// (the divisor at least 1): a division per pixel would cost more than the
// pixel.
class ExactDivision {
 public:
  explicit ExactDivision(std::uint64_t divisor) {
    int bits = 0;
    while ((std::uint64_t{1} << bits) < divisor) ++bits;
    shift_ = kNumeratorBits + bits;
    multiplier_ = (std::uint64_t{1} << shift_) / divisor + 1;
  }
  std::uint64_t Of(std::uint64_t n) const { return (n * multiplier_) >> shift_; }

  static constexpr int kNumeratorBits = 31;

 private:
  std::uint64_t multiplier_;
  int shift_;
};

}  // namespace

bool Pixels::SteppedLine(QPoint from, QPoint to, QRgb color) const {
  const int along = std::abs(to.x() - from.x());
  const int across = std::abs(to.y() - from.y());
  const bool flat = along >= across;
  const int major = flat ? along : across;
  const int minor = flat ? across : along;
  // Below this, 2 * major * (minor + 1) stays below 2^31.
  constexpr int kLongestStepped = 16384;
  if (major >= kLongestStepped) return false;
  const std::ptrdiff_t stepX = from.x() < to.x() ? 1 : -1;
  const std::ptrdiff_t stepY = (from.y() < to.y() ? 1 : -1) * static_cast<std::ptrdiff_t>(stride_);
  const std::ptrdiff_t stepMajor = flat ? stepX : stepY;
  const std::ptrdiff_t stepMinor = flat ? stepY : stepX;
  QRgb* pixel = Row(from.y()) + from.x();
  *pixel = color;
  if (major == 0) return true;
  // LineWalk's pixel at step i lies floor((2 i minor + major) / (2 major))
  // pixels across from the start. Worked out afresh at each step, rather
  // than carried from the step before as the walk's error is, the steps
  // do not wait for one another: a fitted frame of a large network draws
  // millions of pixels of lines.
  const ExactDivision acrossOf(2 * static_cast<std::uint64_t>(major));
  const std::uint64_t grow = 2 * static_cast<std::uint64_t>(minor);
  std::uint64_t numerator = static_cast<std::uint64_t>(major) + grow;
  for (int step = 1; step <= major; ++step, numerator += grow) {
    pixel += stepMajor;
    pixel[static_cast<std::ptrdiff_t>(acrossOf.Of(numerator)) * stepMinor] = color;
  }
  return true;
}

void Pixels::DashedLine(QPoint from, QPoint to, QRgb color, QRgb between, int dash) const {
  // One walk for both pixels: a large network may have every line changed.
  const QPoint across = Across(from, to);
  Walk(from, to, [&](int x, int y, int step) {
    if (step / dash % 2 != 0) {
      Put(x, y, between);
      return;
    }
    Put(x, y, color);
    Put(x + across.x(), y + across.y(), color);
  });
}

void Pixels::Band(QPoint from, QPoint to, QRgb color, int width) const {
  const QPoint across = Across(from, to);
  for (int offset = -(width - 1) / 2; offset <= width / 2; ++offset) {
    Line(from + across * offset, to + across * offset, color);
  }
}

void Pixels::Frame(const QRect& box, int thickness, QRgb color) const {
  Fill(box.left(), box.top(), box.width(), thickness, color);
  Fill(box.left(), box.bottom() - thickness + 1, box.width(), thickness, color);
  Fill(box.left(), box.top(), thickness, box.height(), color);
  Fill(box.right() - thickness + 1, box.top(), thickness, box.height(), color);
}

void Pixels::DashedFrame(const QRect& box, int thickness, int dash, QRgb color) const {
  for (int x = box.left(); x <= box.right(); x += 2 * dash) {
    const int length = std::min(dash, box.right() + 1 - x);
    Fill(x, box.top(), length, thickness, color);
    Fill(x, box.bottom() - thickness + 1, length, thickness, color);
  }
  for (int y = box.top(); y <= box.bottom(); y += 2 * dash) {
    const int length = std::min(dash, box.bottom() + 1 - y);
    Fill(box.left(), y, thickness, length, color);
    Fill(box.right() - thickness + 1, y, thickness, length, color);
  }
}

void Pixels::Corners(const QRect& box, int thickness, int reach, QRgb color) const {
  const int right = box.right() + 1, bottom = box.bottom() + 1;
  for (const int x : {box.left(), right - reach}) {
    Fill(x, box.top(), reach, thickness, color);
    Fill(x, bottom - thickness, reach, thickness, color);
  }
  for (const int y : {box.top(), bottom - reach}) {
    Fill(box.left(), y, thickness, reach, color);
    Fill(right - thickness, y, thickness, reach, color);
  }
}

QPoint Placement::At(double x, double y) const {
  return {static_cast<int>(std::lround(x * zoom)) - scroll.x(),
          static_cast<int>(std::lround(y * zoom)) - scroll.y()};
}

QPoint Placement::CentreOf(const CNode& node) const {
  const Point c = node.GetCenter();
  return At(c.x, c.y);
}

}  // namespace mapvine::overview
