#pragma once

#include <cstddef>

#include "model/MapvineDoc.h"

namespace mapvine {

// On a picture that was arranged, the nodes that joined it after the first
// `placedBefore` (in arrival order: what a refresh just added) leave the
// grid cursor's places for the free cell nearest the first node they are
// linked with that was already placed; a node linked with none takes the
// free cell nearest where the grid put it. Nothing placed before moves, and
// no icon comes to overlap another. The canvas grows when a node needs it.
// Answers how many nodes moved.
int PlaceNearNeighbours(CMapvineDoc& doc, std::size_t placedBefore);

}  // namespace mapvine
