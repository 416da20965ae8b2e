#pragma once

#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace mapvine {

struct LayoutPoint {
  double x = 0;
  double y = 0;
};

// Lays out `count` nodes joined by `edges` (pairs of indices, each pair
// once): their core (BackboneCore.h) with Graphviz's multilevel
// force-directed layout (sfdp), the trees and chains around it after, scaled
// so that joined nodes lie one unit apart on average. The same graph gives the
// same positions on every run. None when Graphviz fails.
std::optional<std::vector<LayoutPoint>> LayOutBackbone(int count,
                                                       std::span<const std::pair<int, int>> edges);

}  // namespace mapvine
