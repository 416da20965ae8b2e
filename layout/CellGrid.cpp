#include "layout/CellGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "model/CNode.h"

namespace mapvine {
namespace {

// Offsets this far away are tried in distance order before searching ring
// by ring; 24 cells cover what a crowded spot needs.
constexpr int kNearbyRadius = 24;
// How far a block is carried from where it wants to be before its members
// are placed one by one instead.
constexpr int kBlockReach = 64;

std::vector<Point> OffsetsByDistance(int radius) {
  std::vector<Point> offsets;
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      if (dx * dx + dy * dy <= radius * radius) offsets.push_back({dx, dy});
    }
  }
  std::sort(offsets.begin(), offsets.end(), [](Point a, Point b) {
    const int da = a.x * a.x + a.y * a.y;
    const int db = b.x * b.x + b.y * b.y;
    if (da != db) return da < db;
    return std::atan2(a.y, a.x) < std::atan2(b.y, b.x);
  });
  return offsets;
}

}  // namespace

CellGrid::CellGrid(int limit) : limit_(std::max(limit, 1)) {
  static const std::vector<Point> offsets = OffsetsByDistance(kNearbyRadius);
  nearby_ = offsets;
}

void CellGrid::TakeTouched(const Rect& icon, int side) {
  const int right = icon.left + std::max(icon.Width(), 1) - 1;
  const int bottom = icon.bottom + CNode::kLabelBand - 1;
  for (int y = std::max(0, icon.top) / side; y <= std::max(0, bottom) / side; ++y) {
    for (int x = std::max(0, icon.left) / side; x <= std::max(0, right) / side; ++x) Take({x, y});
  }
}

Point CornerInCell(Point cell, int side, int width, int height) {
  return {cell.x * side + (side - width) / 2, cell.y * side + (side - height - CNode::kLabelBand) / 2};
}

Point CellUnder(Point at, int side, int width, int height) {
  return {std::max(0, (at.x + width / 2) / side), std::max(0, (at.y + height / 2) / side)};
}

Point CellGrid::TakeNearest(Point wanted) {
  for (const Point offset : nearby_) {
    const Point cell{wanted.x + offset.x, wanted.y + offset.y};
    if (Usable(cell, limit_)) {
      Take(cell);
      return cell;
    }
  }
  return SearchRings(wanted);
}

std::optional<Point> CellGrid::TakeBlockNearest(Point wanted, std::span<const Point> shape) {
  auto fits = [&](Point anchor) {
    return std::all_of(shape.begin(), shape.end(),
                       [&](Point cell) { return Usable({anchor.x + cell.x, anchor.y + cell.y}, limit_); });
  };
  auto take = [&](Point anchor) {
    for (const Point cell : shape) Take({anchor.x + cell.x, anchor.y + cell.y});
    return anchor;
  };
  for (const Point offset : nearby_) {
    const Point anchor{wanted.x + offset.x, wanted.y + offset.y};
    if (fits(anchor)) return take(anchor);
  }
  // Further out, ring by ring, the first anchor found in the nearest ring.
  for (int r = kNearbyRadius + 1; r <= kBlockReach; ++r) {
    for (int i = -r; i <= r; ++i) {
      for (const Point anchor : {Point{wanted.x + i, wanted.y - r}, Point{wanted.x + i, wanted.y + r},
                                 Point{wanted.x - r, wanted.y + i}, Point{wanted.x + r, wanted.y + i}}) {
        if (fits(anchor)) return take(anchor);
      }
    }
  }
  return std::nullopt;
}

Point CellGrid::SearchRings(Point wanted) {
  // Within the limit first; a grid that is full there grows past it.
  for (const int limit : {limit_, INT_MAX}) {
    const int reach = limit == INT_MAX ? INT_MAX / 4 : 2 * limit + std::abs(wanted.x) + std::abs(wanted.y);
    for (int r = kNearbyRadius + 1; r <= reach; ++r) {
      Point best{};
      long long bestDistance = -1;
      auto consider = [&](int x, int y) {
        const Point cell{x, y};
        if (!Usable(cell, limit)) return;
        const long long dx = x - wanted.x, dy = y - wanted.y;
        const long long d = dx * dx + dy * dy;
        if (bestDistance < 0 || d < bestDistance) {
          bestDistance = d;
          best = cell;
        }
      };
      for (int i = -r; i <= r; ++i) {
        consider(wanted.x + i, wanted.y - r);
        consider(wanted.x + i, wanted.y + r);
        consider(wanted.x - r, wanted.y + i);
        consider(wanted.x + r, wanted.y + i);
      }
      if (bestDistance >= 0) {
        Take(best);
        return best;
      }
    }
  }
  return wanted;  // unreachable: past every limit there is always room
}

}  // namespace mapvine
