#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/CDIBSurface.h"
#include "model/ChangeMark.h"
#include "graphics/Geometry.h"
#include "model/NodeRecords.h"
#include "model/ResourceStatus.h"

namespace mapvine {

class CNode;

// A line between two nodes: a transmission group, an LU-to-owner link or a
// link drawn by hand. Green while active, red while not.
class CLink {
 public:
  // Lit and unlit steps of a dashed line.
  static constexpr int kDash = 6;
  // The line's colour while active and while not.
  static constexpr PaletteEntry kActiveColor{0, 255, 0, 0};
  static constexpr PaletteEntry kInactiveColor{255, 0, 0, 0};
  static constexpr PaletteEntry ColorOf(ResourceStatus status) {
    return IsActive(status) ? kActiveColor : kInactiveColor;
  }

  // What a refresh reads and updates of a link it meets again comes first,
  // together: on a large network each cache line it touches is a trip to
  // memory. The counters are those of the last refresh generation that
  // reported the link.
  int generation = 0;
  int reportCount = 0;
  int activeReportCount = 0;
  ResourceStatus status = ResourceStatus::Inactive;
  // Not reported by the last refresh that could tell (it keeps its last
  // status), drawn by a person and not reported since (so never missed), and
  // the unacknowledged change; none of it is saved.
  bool stale = false;
  bool addedByHand = false;
  ChangeMark changeMark = ChangeMark::None;
  int tgNumber = 0;
  std::unique_ptr<TgRecordBytes> tgRecord;

  std::string ownerName;
  std::string destinationName;
  int x1 = 0, y1 = 0;
  int x2 = 0, y2 = 0;
  CNode* endA = nullptr;  // not owned
  CNode* endB = nullptr;  // not owned
  std::string endAName;     // endpoint names read from a file, to rejoin
  std::string endBName;
  // Nodes besides its ends that list this link. Only opening a file makes
  // them: every node carrying an end's stored name lists the link, though
  // only the last of them becomes the end.
  std::vector<CNode*> otherListers;  // not owned
  std::string title;
  Rect bounds;
  int hitTolerance = 2;

  // Whether (x, y) lies on the line, within hitTolerance.
  bool HitTest(int x, int y) const { return HitDistance(x, y).has_value(); }
  // How far (x, y) lies from the line when it hits it; none when it misses.
  std::optional<double> HitDistance(int x, int y) const;
  // Draws the part of the 2-pixel line inside `clip` into `target` when
  // neither end is hidden, and the end icons over it, also inside `clip`.
  // With `dashInactive` an inactive line is dashed as well as red, for eyes
  // that do not tell red from green.
  void Draw(CDIB& target, SurfaceTextDrawer* text, const Rect& clip,
            bool dashInactive = false) const;
  // Whether the line is drawn at all: both ends are there and shown.
  bool Shown() const;
  // `bounds` = the rectangle spanned by the two ends, normalised, inflated by 1.
  void UpdateBounds();
  // Moves the end (or both ends) belonging to `node` by (dx, dy) and updates
  // `bounds`.
  void MoveEndOf(const CNode& node, int dx, int dy);
};

}  // namespace mapvine
