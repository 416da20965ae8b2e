#include "render/OverviewCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

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
  const QRect box = LineBox(from, to);
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
  if (Inside(from) && Inside(to)) {
    if (Stepped(from, to, 0, std::numeric_limits<long long>::max(), color)) return;
  } else if (LineBox(from, to).intersects(clip)) {
    // A zoomed-in frame shows a few hundred pixels of lines thousands long:
    // only the steps near the clip are taken, with the slack Walk gives
    // them, and Stepped cuts them to those inside.
    const Rect near{left_ - 1, top_ - 1, right_ + 2, bottom_ + 2};
    const std::optional<WalkPart> part = WalkNear(LineWalk::Between(from.x(), from.y(), to.x(), to.y()), near);
    if (!part || Stepped(from, to, part->first, part->last, color)) return;
  } else {
    return;
  }
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

// Lines as long as this or longer are walked: below it the numerators
// ExactDivision divides, 2 * major * (minor + 1) at most, stay below 2^31.
constexpr long long kLongestStepped = 16384;

}  // namespace

bool Pixels::Stepped(QPoint from, QPoint to, long long first, long long last, QRgb color) const {
  const long long along = std::llabs(static_cast<long long>(to.x()) - from.x());
  const long long across = std::llabs(static_cast<long long>(to.y()) - from.y());
  const bool flat = along >= across;
  const long long major = flat ? along : across;
  const long long minor = flat ? across : along;
  if (major >= kLongestStepped) return false;
  first = std::max(first, 0LL);
  last = std::min(last, major);
  const int signX = from.x() < to.x() ? 1 : -1;
  const int signY = from.y() < to.y() ? 1 : -1;
  // LineWalk's pixel at step i lies floor((2 i minor + major) / (2 major))
  // pixels across from the start. Worked out afresh at each step, rather
  // than carried from the step before as the walk's error is, the steps
  // do not wait for one another: a fitted frame of a large network draws
  // millions of pixels of lines.
  const ExactDivision acrossOf(2 * static_cast<std::uint64_t>(std::max(major, 1LL)));
  const std::uint64_t grow = 2 * static_cast<std::uint64_t>(minor);
  const auto acrossAt = [&](long long step) {
    return static_cast<std::ptrdiff_t>(acrossOf.Of(static_cast<std::uint64_t>(major + step * minor * 2)));
  };
  const auto pointAt = [&](long long step) {
    const long long offset = acrossAt(step);
    return QPoint(from.x() + signX * static_cast<int>(flat ? step : offset),
                  from.y() + signY * static_cast<int>(flat ? offset : step));
  };
  // Steps near the clip's edge may fall just outside it. Both coordinates
  // only grow or only shrink along a walk: once the first and the last
  // step are inside, so is every step between.
  while (first <= last && !Inside(pointAt(first))) ++first;
  while (last >= first && !Inside(pointAt(last))) --last;
  if (first > last) return true;
  const std::ptrdiff_t stepX = signX;
  const std::ptrdiff_t stepY = signY * static_cast<std::ptrdiff_t>(stride_);
  const std::ptrdiff_t stepMajor = flat ? stepX : stepY;
  const std::ptrdiff_t stepMinor = flat ? stepY : stepX;
  // `base` moves along the main direction only; the step's pixel lies
  // across from it by how far the walk has moved across since `first`.
  const QPoint start = pointAt(first);
  const std::ptrdiff_t acrossFirst = acrossAt(first);
  QRgb* base = Row(start.y()) + start.x();
  *base = color;
  std::uint64_t numerator = static_cast<std::uint64_t>(major) + static_cast<std::uint64_t>(first) * grow;
  for (long long step = first + 1; step <= last; ++step) {
    numerator += grow;
    base += stepMajor;
    base[(static_cast<std::ptrdiff_t>(acrossOf.Of(numerator)) - acrossFirst) * stepMinor] = color;
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

namespace {

// std::lround's answer, halves away from zero, without its library call:
// a fitted frame places both ends of every line. The integer part is cut
// off exactly, and so is what remains of `v` without it.
long RoundedHalfAway(double v) {
  if (!(std::abs(v) < 1e15)) return std::lround(v);
  const auto whole = static_cast<long>(v);
  const double rest = v - static_cast<double>(whole);
  return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

}  // namespace

QPoint Placement::At(double x, double y) const {
  return {static_cast<int>(RoundedHalfAway(x * zoom)) - scroll.x(),
          static_cast<int>(RoundedHalfAway(y * zoom)) - scroll.y()};
}

QPoint Placement::CentreOf(const CNode& node) const {
  const Point c = node.GetCenter();
  return At(c.x, c.y);
}

}  // namespace mapvine::overview
