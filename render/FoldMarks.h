#pragma once

#include "graphics/CDIB.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"
#include "render/PictureIndex.h"

namespace mapvine {

// The mark of every node near `area` that folds its LUs (model/LuFold.h):
// a box in the LUs' colour, framed in the colour of the most pressing change
// among them, and their count, drawn into `window`, an image showing the
// picture from `origin` on.
void DrawFoldMarks(PictureIndex& index, SurfaceTextDrawer* text, CDIB& window, Point origin, const Rect& area);

}  // namespace mapvine
