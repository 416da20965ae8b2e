#pragma once

#include "graphics/CDIB.h"
#include "graphics/CLink.h"
#include "graphics/CSprite.h"
#include "graphics/Geometry.h"

namespace mapvine {

// What the picture shows of change tracking, drawn into the 8-bit buffer
// over what the render put there, only inside `area` (the part being
// drawn). A link's marks lie on its line and a node's on its icon, so any
// redraw of the link or node redraws them too and none is left behind.

// Over a link just drawn: dashes in the colour of its unacknowledged change
// (blue new, grey gone, orange went inactive, cyan went active), or grey
// dashes when it is stale, so its status colour shows between them.
void DrawLinkChange(CDIB& buffer, const CLink& link, const Rect& area);

// Over a node just drawn: a stale node is faded (every other pixel of its
// icon shows the background); a changed one gets a frame in its change's
// colour: solid when new, dashed when gone, double when it went inactive,
// corners only when it went active.
void DrawNodeChange(CDIB& buffer, const CDIB* background, const CSprite& node, const Rect& area);

}  // namespace mapvine
