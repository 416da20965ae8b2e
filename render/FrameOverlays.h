#pragma once

#include <functional>
#include <span>

#include "graphics/Geometry.h"
#include "render/OverviewCanvas.h"
#include "render/OverviewRendering.h"
#include "render/ShownItems.h"

namespace mapvine {

// A true-colour frame that shows the picture at some zoom, as what is drawn
// over the picture needs it.
struct OverlayFrame {
  const overview::Pixels& px;
  overview::Placement at;
  Detail detail;
  const FrameColors& colors;
  // The picture as the frame shows it, in zoomed pixels (frame pixels plus
  // the scroll): lines are walked in it as the whole picture walks them, so
  // that any part drawn alone matches the whole.
  Rect zoomedPicture;
  ItemLooks& looks;
  // Draws a node again over what was drawn over it.
  std::function<void(const ShownNode&)> drawNodeAgain;
};

// Draws over the frame what lies over the picture, in the same shapes at
// every zoom; frames that sit inside an icon ring a node shown as a mark.
// First the marks of what changed: dashes along changed links in their
// change's colour (blue new, grey gone, orange went inactive, cyan went
// active; stale links grey), the nodes over those lines drawn again, and a
// frame on each changed node: solid when new, dashed when gone, double when
// it went inactive, corners only when it went active (an owner carries the
// marks of the LUs folded into it). Then the route with the rest dimmed: its
// links glow, broken links dashed, its nodes lit, both ends framed. Last the
// keyboard's selection, black with white inside. `links` and `nodes` are
// the shown ones near the frame's clip.
void DrawOverlays(const OverlayFrame& frame, std::span<const int> links,
                  std::span<const ShownNode> nodes, const ViewOverlays& overlays);

}  // namespace mapvine
