#pragma once

#include <string>

#include "model/CLink.h"
#include "model/CNode.h"
#include "graphics/Geometry.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// A node can fold its LUs: at 100% they and their links to it are no
// longer drawn, and the node carries one mark with their count instead, as
// every owner does when the overview is zoomed far out. The flag lives on
// the owner (`lusFolded`), so LUs a later refresh brings fold with the rest;
// whether an LU is folded away is worked out from its links when asked.

// The shown node an LU belongs to: the first node it is linked with that
// is not an LU itself. None for other nodes and for LUs without one.
const CNode* LuOwner(const CNode& node);

// Whether the node is an LU whose owner folds its LUs.
bool FoldedAway(const CNode& node);
// Whether either end of the link is folded away.
bool FoldedAway(const CLink& link);

// The shown LUs that belong to `owner`, folded or not.
int OwnedLuCount(const CNode& owner);
// The LUs `owner` shows as its mark: none unless it folds them.
int FoldedLuCount(const CNode& owner);

// Where a folding owner shows its mark: a box and the count beside it, in
// the band under its icon below the label, so that whatever redraws the
// node redraws the mark. Pointing there points at the owner.
Rect FoldMarkArea(const CNode& owner);
// The box is filled in the colour the overview gives LUs.
inline constexpr PaletteEntry kFoldMarkColor{240, 200, 0, 0};
Rect FoldMarkBox(const CNode& owner);
Point FoldCountOrigin(const CNode& owner);
bool OnFoldMark(const CNode& owner, Point p);
// "12 LUs", "1 LU".
std::string FoldCountText(int count);

// Folds or unfolds `owner`'s LUs; false when it already was so. The picture
// is marked modified and redrawn.
bool SetLusFolded(CMapvineDoc& doc, CNode& owner, bool folded);

// When `node` is folded away, unfolds its owner's LUs so that it shows, and
// returns the owner; null otherwise.
CNode* UnfoldToShow(CMapvineDoc& doc, const CNode& node);

}  // namespace mapvine
