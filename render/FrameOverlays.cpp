#include "render/FrameOverlays.h"

#include <algorithm>
#include <array>
#include <vector>

#include "graphics/LineDrawing.h"
#include "render/OverlayColors.h"

namespace mapvine {

namespace {

// Frames are this thick; around a node shown as a mark they lie this far
// out, with room between for the inner frame of a double one.
constexpr int kFrame = 2;
constexpr int kRingDistance = 5;
constexpr int kDoubleFrameGap = 3;
// The dashes of a changed line and of a gone node's frame.
constexpr int kDash = 6;
constexpr int kCornerLength = 8;
// The glow around a route's line reaches this far on either side.
constexpr int kGlowReach = 3;

constexpr std::array kChangeMarks{ChangeMark::None, ChangeMark::New, ChangeMark::Gone,
                                  ChangeMark::WentInactive, ChangeMark::WentActive};
using ChangeColors = std::array<QRgb, kChangeMarks.size()>;

ChangeColors ChangeColorsOf(const FrameColors& colors) {
  ChangeColors shown{};
  for (const ChangeMark mark : kChangeMarks) {
    shown[static_cast<std::size_t>(mark)] = colors.Nearest(ChangeMarkColor(mark));
  }
  return shown;
}

// A 2-pixel line between two frame points (LineDrawing.h tells its shape).
void WideLine(const OverlayFrame& f, QPoint from, QPoint to, QRgb color, int dash = 0) {
  const QPoint s = f.at.scroll;
  const QRect& clip = f.px.clip;
  const Rect area = Rect{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1}
                        .Offset(s.x(), s.y())
                        .Intersect(f.zoomedPicture);
  ForEachWideLinePixel(f.zoomedPicture, {from.x() + s.x(), from.y() + s.y()},
                       {to.x() + s.x(), to.y() + s.y()}, area, dash,
                       [&](int x, int y) { f.px.Put(x - s.x(), y - s.y(), color); });
}

// The four sides of `box` with the 2-pixel pen just inside it.
void DashedFrame(const OverlayFrame& f, const QRect& box, QRgb color) {
  const QPoint corners[] = {{box.left() + 1, box.top() + 1}, {box.right(), box.top() + 1},
                            {box.right(), box.bottom()}, {box.left() + 1, box.bottom()}};
  for (int side = 0; side < 4; ++side) {
    WideLine(f, corners[side], corners[(side + 1) % 4], color, kDash);
  }
}

void Corners(const OverlayFrame& f, const QRect& box, QRgb color) {
  const int reach = std::min({kCornerLength, box.width() / 2, box.height() / 2});
  const int left = box.left() + 1, top = box.top() + 1, right = box.right(), bottom = box.bottom();
  for (const QPoint corner : {QPoint(left, top), QPoint(right, top), QPoint(right, bottom),
                              QPoint(left, bottom)}) {
    const int dx = corner.x() == left ? reach : -reach;
    const int dy = corner.y() == top ? reach : -reach;
    WideLine(f, corner, corner + QPoint(dx, 0), color);
    WideLine(f, corner, corner + QPoint(0, dy), color);
  }
}

void ChangeFrame(const OverlayFrame& f, const QRect& box, ChangeMark mark, QRgb color) {
  switch (mark) {
    case ChangeMark::New:
      f.px.Frame(box, kFrame, color);
      break;
    case ChangeMark::Gone:
      DashedFrame(f, box, color);
      break;
    case ChangeMark::WentInactive:
      f.px.Frame(box, kFrame, color);
      f.px.Frame(box.adjusted(kDoubleFrameGap, kDoubleFrameGap, -kDoubleFrameGap, -kDoubleFrameGap),
                 kFrame, color);
      break;
    default:
      Corners(f, box, color);
      break;
  }
}

// Where frames around the node go: inside its icon, or around its mark.
QRect FrameBox(const OverlayFrame& f, const QRect& shown) {
  return AsMarks(f.detail)
             ? shown.adjusted(-kRingDistance, -kRingDistance, kRingDistance, kRingDistance)
             : shown;
}

// Dashes along every changed or stale line, their status colour showing
// between; the boxes of the lines drawn.
std::vector<QRect> DrawLinkChanges(const OverlayFrame& f, std::span<const int> links,
                                   const ChangeColors& colors) {
  std::vector<int> changed;
  for (const int id : links) {
    const ItemLooks::LinkLook& link = f.looks.Link(id);
    if (link.changeMark != ChangeMark::None || link.stale) changed.push_back(id);
  }
  std::vector<QRect> marked;
  ForEachShownLine(f.looks, changed, f.detail == Detail::Folded, f.at,
                   [&](const ItemLooks::LinkLook& link, QPoint from, QPoint to) {
                     const QRect box = overview::LineBox(from, to).adjusted(-1, -1, 0, 0);
                     if (!box.intersects(f.px.clip)) return;
                     const ChangeMark shown =
                         link.changeMark != ChangeMark::None ? link.changeMark : ChangeMark::Gone;
                     WideLine(f, from, to, colors[static_cast<std::size_t>(shown)], kDash);
                     marked.push_back(box);
                   });
  return marked;
}

void DrawChanges(const OverlayFrame& f, std::span<const int> links,
                 std::span<const ShownNode> nodes) {
  const ChangeColors colors = ChangeColorsOf(f.colors);
  const std::vector<QRect> marked = DrawLinkChanges(f, links, colors);
  // Icons stay on top of the dashes.
  for (const ShownNode& shown : nodes) {
    if (std::any_of(marked.begin(), marked.end(),
                    [&](const QRect& line) { return line.intersects(shown.box); })) {
      f.drawNodeAgain(shown);
    }
  }
  for (const ShownNode& shown : nodes) {
    const ChangeMark mark = f.detail == Detail::Folded ? shown.folded.change : shown.look->changeMark;
    if (mark == ChangeMark::None) continue;
    ChangeFrame(f, FrameBox(f, shown.box), mark, colors[static_cast<std::size_t>(mark)]);
  }
}

void DrawRoute(const OverlayFrame& f, const ViewOverlays& overlays) {
  const Route* route = overlays.route;
  if (route == nullptr || route->kind == Route::Kind::None) return;
  const overview::Pixels& px = f.px;
  px.FillEveryOther(px.clip, f.at.Parity(), f.colors.Nearest(kRouteDimColor));
  const QRgb lit = f.colors.Nearest(kRouteColor);
  const bool folded = f.detail == Detail::Folded;
  const std::vector<int> links = IdsOf(f.looks, route->links);
  ForEachShownLine(f.looks, links, folded, f.at, [&](const ItemLooks::LinkLook&, QPoint from, QPoint to) {
    for (int offset = -kGlowReach; offset <= kGlowReach; ++offset) {
      WideLine(f, from + QPoint(offset, 0), to + QPoint(offset, 0), lit);
      WideLine(f, from + QPoint(0, offset), to + QPoint(0, offset), lit);
    }
  });
  // A broken route's inactive links are dashed whatever the view setting.
  ForEachShownLine(f.looks, links, folded, f.at,
                   [&](const ItemLooks::LinkLook& link, QPoint from, QPoint to) {
                     WideLine(f, from, to,
                              f.colors.Nearest(link.active ? CLink::kActiveColor : CLink::kInactiveColor),
                              link.active ? 0 : CLink::kDash);
                   });
  // A route through a folded LU shows on its owner.
  for (const CNode* node : route->nodes) {
    const ShownNode shown = ShownAs(f.looks, *node, f.at, f.detail);
    if (shown.look != nullptr) f.drawNodeAgain(shown);
  }
  for (const CNode* end : {overlays.routeStart, overlays.routeEnd}) {
    const ShownNode shown = end != nullptr ? ShownAs(f.looks, *end, f.at, f.detail) : ShownNode{};
    if (shown.look != nullptr) px.Frame(FrameBox(f, shown.box), kFrame, lit);
  }
}

void DrawSelection(const OverlayFrame& f, const ViewOverlays& overlays) {
  if (overlays.selected == nullptr) return;
  const ShownNode shown = ShownAs(f.looks, *overlays.selected, f.at, f.detail);
  if (shown.look == nullptr) return;
  const QRect box = FrameBox(f, shown.box);
  f.px.Frame(box, kFrame, f.colors.Nearest(kSelectionOuterColor));
  f.px.Frame(box.adjusted(1, 1, -1, -1), 1, f.colors.Nearest(kSelectionInnerColor));
}

}  // namespace

void DrawOverlays(const OverlayFrame& frame, std::span<const int> links,
                  std::span<const ShownNode> nodes, const ViewOverlays& overlays) {
  DrawChanges(frame, links, nodes);
  DrawRoute(frame, overlays);
  DrawSelection(frame, overlays);
}

}  // namespace mapvine
