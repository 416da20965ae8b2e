#pragma once

#include "graphics/CDIB.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"
#include "render/OverviewRendering.h"

namespace mapvine {

// The route with the rest of the picture dimmed, drawn over the rendered
// `area` of `window` (an image showing the picture from `origin` on, at its
// own size): its links glow and its nodes are drawn again over them, lit;
// a route over inactive links shows them dashed, as broken. Both ends get a
// frame inside their icons. Nothing while no route is shown.
void DrawRouteAtOwnSize(CDIB& window, Point origin, const Rect& picture, SurfaceTextDrawer* text,
                        const Rect& area, const ViewOverlays& overlays);
// The keyboard's selection: a frame inside the selected node's icon, so that
// moving the node redraws it whole.
void DrawSelectionAtOwnSize(CDIB& window, Point origin, const Rect& area,
                            const ViewOverlays& overlays);

}  // namespace mapvine
