#pragma once

#include "graphics/CDIB.h"
#include "graphics/Geometry.h"
#include "graphics/CDIBSurface.h"
#include "model/MapvineDoc.h"
#include "render/PictureIndex.h"

namespace mapvine {

// What the picture shows of change tracking, drawn over the rendered
// `area` of `window`, an image showing the picture from `origin` on (areas
// in picture coordinates). Changed links get dashes along their line in
// their change's colour (blue new, grey gone, orange went inactive, cyan
// went active), stale links grey dashes, so their status colour shows
// between them; the nodes over those lines are drawn again, so icons stay on
// top. Then a stale node is faded (every other pixel of its icon shows the
// background) and a changed one gets a frame in its change's colour: solid
// when new, dashed when gone, double when it went inactive, corners only
// when it went active. Every mark lies on its link's line or its node's
// icon, so any redraw of those redraws it too and none is left behind.
void DrawChanges(const CMapvineDoc& doc, PictureIndex& index, SurfaceTextDrawer* text, CDIB& window,
                 Point origin, const Rect& area);

}  // namespace mapvine
