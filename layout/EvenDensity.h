#pragma once

#include <span>
#include <vector>

#include "layout/BackboneLayout.h"

namespace mapvine {

// Moves every point along its ray from the weighted centre so that the
// weight within any distance of the centre grows with the area of that
// circle: a layout with a crowded core and thin arms becomes a disc of
// radius 1 around (0, 0) of even density. Each point keeps its direction
// and the order of the distances, so neighbours stay neighbours.
std::vector<LayoutPoint> EvenOut(std::span<const LayoutPoint> at, std::span<const double> weights);

}  // namespace mapvine
