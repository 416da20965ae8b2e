// What the overview draws over the picture, as the picture at 100% does:
// the marks of what changed, the route with the rest dimmed, and the
// keyboard selection. Nodes far out are marks of a few pixels, so the
// frames that sit inside an icon at 100% ring a mark at some distance.
#include <algorithm>
#include <array>

#include "render/OverlayColors.h"
#include "render/OverviewScene.h"

namespace mapvine {

namespace {

// Frames are this thick; a mark's ring lies this far around it, with room
// between for the inner frame of a double ring.
constexpr int kFrame = 2;
constexpr int kRingDistance = 5;
constexpr int kDoubleRingGap = 3;
constexpr int kDash = 3;
// A route's line glows this wide.
constexpr int kGlowWidth = 5;

constexpr std::array kChangeMarks{ChangeMark::None, ChangeMark::New, ChangeMark::Gone,
                                  ChangeMark::WentInactive, ChangeMark::WentActive};

// The change colours as the frame shows them, by mark.
std::array<QRgb, kChangeMarks.size()> ChangeColors(const FrameColors& colors) {
  std::array<QRgb, kChangeMarks.size()> shown{};
  for (const ChangeMark mark : kChangeMarks) {
    shown[static_cast<std::size_t>(mark)] = colors.Nearest(ChangeMarkColor(mark));
  }
  return shown;
}

// The frame of a change, in the shapes of the picture at 100%: solid when
// new, dashed when gone, double when it went inactive, corners only when it
// went active.
void ChangeFrame(const overview::Pixels& px, const QRect& box, ChangeMark mark, QRgb color) {
  switch (mark) {
    case ChangeMark::New:
      px.Frame(box, kFrame, color);
      break;
    case ChangeMark::Gone:
      px.DashedFrame(box, kFrame, kDash, color);
      break;
    case ChangeMark::WentInactive:
      px.Frame(box, kFrame, color);
      px.Frame(box.adjusted(kDoubleRingGap, kDoubleRingGap, -kDoubleRingGap, -kDoubleRingGap),
               kFrame, color);
      break;
    default:
      px.Corners(box, kFrame, std::max(kFrame, box.width() / 3), color);
      break;
  }
}

// Where frames around the node go: inside its icon, as at 100%, or in a
// ring around its mark.
QRect FrameBox(const QRect& shown, bool asMark) {
  return asMark ? shown.adjusted(-kRingDistance, -kRingDistance, kRingDistance, kRingDistance)
                : shown;
}

}  // namespace

void OverviewRenderer::DrawLinkChanges(std::span<const CLink* const> changed,
                                       const Scene& scene) {
  if (changed.empty()) return;
  const auto colors = ChangeColors(scene.colors);
  // Dashes along the line, its status colour showing between them; a stale
  // link's dashes are those of a gone one.
  ForEachShownLine(changed, scene.Folded(), scene.at,
                   [&](const CLink& link, QPoint from, QPoint to) {
                     const ChangeMark shown =
                         link.changeMark != ChangeMark::None ? link.changeMark : ChangeMark::Gone;
                     scene.px.DashedLine(from, to, colors[static_cast<std::size_t>(shown)],
                                         StatusColor(link), kDash);
                   });
}

void OverviewRenderer::DrawNodeChanges(const std::vector<ShownNode>& nodes, const Scene& scene) {
  const auto colors = ChangeColors(scene.colors);
  for (const ShownNode& shown : nodes) {
    // An owner carries the marks of the LUs folded into it.
    const ChangeMark mark = scene.Folded() ? shown.folded.change : shown.node->changeMark;
    if (mark == ChangeMark::None) continue;
    ChangeFrame(scene.px, FrameBox(shown.box, scene.AsMarks()), mark,
                colors[static_cast<std::size_t>(mark)]);
  }
}

void OverviewRenderer::DrawRoute(const ViewOverlays& overlays, const Scene& scene) {
  if (overlays.route == nullptr || overlays.route->kind == Route::Kind::None) return;
  const overview::Pixels& px = scene.px;
  px.FillEveryOther(px.clip, scene.at.Parity(), scene.colors.Nearest(kRouteDimColor));
  const QRgb lit = scene.colors.Nearest(kRouteColor);
  const std::vector<const CLink*>& links = overlays.route->links;
  ForEachShownLine(links, scene.Folded(), scene.at, [&](const CLink&, QPoint from, QPoint to) {
    px.Band(from, to, lit, kGlowWidth);
  });
  DrawStatusLines(links, scene.Folded(), px, scene.at);
  // A route through a folded LU shows on its owner.
  for (const CNode* node : overlays.route->nodes) {
    const ShownNode shown = ShownAs(*node, scene);
    if (shown.node != nullptr) DrawNode(shown, scene);
  }
  for (const CNode* end : {overlays.routeStart, overlays.routeEnd}) {
    const ShownNode shown = end != nullptr ? ShownAs(*end, scene) : ShownNode{};
    if (shown.node != nullptr) px.Frame(FrameBox(shown.box, scene.AsMarks()), kFrame, lit);
  }
}

void OverviewRenderer::DrawSelection(const ViewOverlays& overlays, const Scene& scene) {
  if (overlays.selected == nullptr) return;
  const ShownNode shown = ShownAs(*overlays.selected, scene);
  if (shown.node == nullptr) return;
  // Black with white inside, as at 100%.
  const QRect box = FrameBox(shown.box, scene.AsMarks());
  scene.px.Frame(box, kFrame, scene.colors.Nearest(kSelectionOuterColor));
  scene.px.Frame(box.adjusted(1, 1, -1, -1), 1, scene.colors.Nearest(kSelectionInnerColor));
}

}  // namespace mapvine
