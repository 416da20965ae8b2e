#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/CNode.h"
#include "model/CSpriteList.h"
#include "model/MapvineDoc.h"
#include "model/NodeFetch.h"

namespace mapvine {

// The classes of node the "Hide All" and "Show All" menus act on.
enum class NodeClass { NetworkNodes, ConnectionNetworks, EndNodes, LogicalUnits, Unreachable };

// The size a picture shrinks to when hiding nodes re-tiles it.
inline constexpr int kTiledPictureWidth = 520;
inline constexpr int kTiledPictureHeight = 320;

bool IsOfClass(const CNode& node, NodeClass nodeClass);

// Hides and shows nodes, the edit being recorded hearing of each, and
// tells the view which changed, all at once: hiding all but a
// neighbourhood changes nearly every node of a large picture. The nodes
// are gathered first and changed at the end, so that the edit makes room
// for all of them at once.
class VisibilityChange {
 public:
  explicit VisibilityChange(CMapvineDoc& doc) : doc_(doc) {}
  void Set(CNode& node, bool hidden);
  // Sets each of `nodes` hidden as `hidden`(node) answers.
  template <typename Hidden>
  void SetEach(std::span<CNode* const> nodes, Hidden hidden) {
    // A hundred thousand nodes lie scattered over memory: each is fetched
    // a few steps before it is read.
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      if (i + kNodesFetchedAhead < nodes.size()) __builtin_prefetch(&nodes[i + kNodesFetchedAhead]->hidden);
      Set(*nodes[i], hidden(*nodes[i]));
    }
  }
  // Makes the changes, tells the view and marks the document modified when
  // anything changed; answers how many nodes did.
  int Finish();

 private:
  CMapvineDoc& doc_;
  std::vector<std::pair<CNode*, bool>> wanted_;
};

// Hides every node of the class. With autoTile set the picture shrinks to
// 520 x 320 and every node is laid out again on the grid. Answers the
// number of nodes that were shown before.
int HideAllOfClass(CMapvineDoc& doc, NodeClass nodeClass);
// Shows every node of the class; never re-tiles. Answers the number of
// nodes that were hidden before.
int ShowAllOfClass(CMapvineDoc& doc, NodeClass nodeClass);

// The labels of the hidden nodes, in list order (one per node, so a label
// two hidden nodes share appears twice).
std::vector<std::string> HiddenLabels(const CSpriteList& nodes);

// Shows the first holder, in list order, of each label (exact,
// case-sensitive); when that holder is already shown nothing changes.
// Answers the number of nodes that became visible.
int ShowFirstHolders(CMapvineDoc& doc, const std::vector<std::string>& labels);

}  // namespace mapvine
