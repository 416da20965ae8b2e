// The commands of the node and link context menus that the view carries
// out itself: link, hide, depth, neighbours and delete. They act on what the
// last right click hit.
#include <algorithm>

#include "view/MapvineView.h"

namespace mapvine {

namespace {

// The status-bar prompt while a manual link waits for its second node.
constexpr const char* kLinkPrompt =
    "Select node to link with left mouse button or none to cancel";

}  // namespace

void CMapvineView::NodeRemoving(const CNode& node) {
  picks_.Forget(node);
  route_.Forget(node);
  blink_.Forget(&node);
}

void CMapvineView::LinkRemoving(const CLink& link) {
  picks_.Forget(link);
  route_.Forget(link);
}

void CMapvineView::AllRemoving() {
  picks_ = ViewPicks{};
  route_.Clear();
  blink_.Forget(nullptr);
}

void CMapvineView::StartLink() {
  CNode* node = MenuNode();
  if (node == nullptr) return;
  picks_.linkMode = true;
  picks_.linkSource = node;
  doc_.ShowStatusText(kLinkPrompt);
}

void CMapvineView::HideMenuNode() {
  CNode* node = picks_.menuOnNode ? MenuNode() : nullptr;
  if (node == nullptr) return;
  // Its links disappear with it.
  doc_.NodeChanging(*node);
  node->hidden = true;
  PictureChanged();
  doc_.SetModified(true);
}

void CMapvineView::MoveMenuNodeDepth(int step) {
  CNode* node = MenuNode();
  if (node == nullptr) return;
  // The list re-sorts, so the node is drawn over (under) the nodes it now
  // passes in depth.
  doc_.NodeChanging(*node);
  node->SetDepth(node->GetDepth() + step);
  doc_.SetModified(true);
}

void CMapvineView::SetNeighborsHidden(bool hidden) {
  CNode* node = picks_.menuOnNode ? MenuNode() : nullptr;
  if (node == nullptr) return;
  bool changed = false;
  for (CLink* link : node->links) {
    CNode* other = link->endA == node ? link->endB : link->endA;
    // A link to itself has no neighbour: the node stays as it is.
    if (other == nullptr || other == node || other->hidden == hidden) continue;
    doc_.NodeChanging(*other);
    other->hidden = hidden;
    changed = true;
  }
  if (!changed) return;
  PictureChanged();
  doc_.SetModified(true);
}

void CMapvineView::DeleteMenuLink() {
  CLink* link = MenuLink();
  if (link == nullptr) return;
  const Rect area = link->bounds;
  picks_.menuLink = nullptr;
  doc_.DeleteLink(*link);
  PictureChanged(area);
  doc_.SetModified(true);
}

void CMapvineView::ForgetPicks() { picks_.ForgetMenuDragAndLink(); }

void CMapvineView::DeleteNode(CNode& node) {
  // Whatever pointed at it (a menu, the selection, the route) lets go as it
  // leaves.
  const std::unique_ptr<CNode> removed = doc_.RemoveNode(node);  // with its links
  // One redraw covers the node with its label band and every line it had.
  PictureChanged();
  doc_.SetModified(true);
}

}  // namespace mapvine
