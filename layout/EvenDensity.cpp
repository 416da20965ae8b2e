#include "layout/EvenDensity.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace mapvine {

std::vector<LayoutPoint> EvenOut(std::span<const LayoutPoint> at, std::span<const double> weights) {
  std::vector<LayoutPoint> even(at.size());
  double total = 0, cx = 0, cy = 0;
  for (std::size_t i = 0; i < at.size(); ++i) {
    total += weights[i];
    cx += at[i].x * weights[i];
    cy += at[i].y * weights[i];
  }
  if (total <= 0) return even;
  cx /= total;
  cy /= total;
  std::vector<double> distance(at.size());
  for (std::size_t i = 0; i < at.size(); ++i) distance[i] = std::hypot(at[i].x - cx, at[i].y - cy);
  std::vector<std::size_t> order(at.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return distance[a] < distance[b]; });
  double within = 0;
  for (const std::size_t i : order) {
    // The middle of the node's own share of the disc.
    const double radius = std::sqrt((within + weights[i] / 2) / total);
    within += weights[i];
    if (distance[i] > 0) {
      even[i] = {(at[i].x - cx) / distance[i] * radius, (at[i].y - cy) / distance[i] * radius};
    } else {
      even[i] = {radius, 0};
    }
  }
  return even;
}

}  // namespace mapvine
