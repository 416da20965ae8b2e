#pragma once

#include "graphics/CDIB.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"
#include "model/MapvineDoc.h"
#include "render/PictureIndex.h"

namespace mapvine {

// Draws `area` of the picture at its own size into `window`, an 8-bit image
// in the picture's palette that shows the picture from `origin` on. The
// steps run in a fixed order, each over what lies near the area only:
// background, links, then the nodes in depth order with their labels (LUs
// folded into their owner left out, the owner's mark drawn instead; a stale
// node faded). The
// pixels are the same whatever the window, so any part drawn alone matches
// the whole picture drawn at once. With `dashInactive` inactive links are
// dashed as well as red.
void RenderPictureArea(const CMapvineDoc& doc, PictureIndex& index, SurfaceTextDrawer* text,
                       CDIB& window, Point origin, const Rect& area, bool dashInactive);

// Draws one node as the picture shows it into `window` (as above), inside
// `clip`: its icon and label, and when it is stale, faded: every other pixel
// of its icon (a checkerboard fixed to the picture) shows the background.
void DrawNodeInWindow(const CMapvineDoc& doc, const CNode& node, SurfaceTextDrawer* text,
                      CDIB& window, Point origin, const Rect& clip);

}  // namespace mapvine
