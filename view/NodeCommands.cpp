// The node and link commands bound here, and link, hide, depth, neighbours
// and delete carried out. They act on what the last right click hit.
#include "view/NodeCommands.h"

#include <QObject>

#include <memory>
#include <utility>

#include "base/UserPrompts.h"
#include "model/NodeVisibility.h"
#include "view/CommandIds.h"

namespace mapvine {

namespace {

// The status-bar prompt while a manual link waits for its second node.
constexpr const char* kLinkPrompt =
    "Select node to link with left mouse button or none to cancel";

}  // namespace

void NodeCommands::BindCommands(CommandBindings& commands) {
  commands.Bind(command::kDetails, [this] { ShowMenuDetails(); });
  commands.Bind(command::kLink, [this] { StartLink(); });
  commands.Bind(command::kHide, [this] { HideMenuNode(); });
  commands.Bind(command::kMoveCloser, [this] { MoveMenuNodeDepth(1); });
  commands.Bind(command::kMoveFarther, [this] { MoveMenuNodeDepth(-1); });
  commands.Bind(command::kDelete, [this] {
    if (picks_.menuOnNode) {
      if (CNode* node = picks_.menuNode) DeleteNode(*node);
    } else {
      DeleteMenuLink();
    }
  });
  commands.Bind(command::kShowNeighbors, [this] { SetNeighborsHidden(false); });
  commands.Bind(command::kHideNeighbors, [this] { SetNeighborsHidden(true); });
  commands.Bind(command::kRouteFromHere, [this] {
    if (CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr) route_.SetStart(*node);
  });
  commands.Bind(command::kRouteToHere, [this] {
    if (CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr) route_.SetEnd(*node);
  });
  commands.Bind(command::kPinNode, [this] { TogglePin(); }, [this] {
    const CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr;
    return CommandState{.enabled = node != nullptr, .checked = node != nullptr && node->pinned};
  });
  commands.Bind(command::kFoldLus, [this] { ToggleLuFold(); }, [this] { return LuFoldState(); });
  commands.Bind(command::kShowNeighbourhood,
                [this] {
                  if (CNode* node = NeighbourhoodCentre()) AskAndShowNeighbourhood(*node);
                },
                [this] { return CommandState{.enabled = NeighbourhoodCentre() != nullptr, .checked = false}; });
  commands.Bind(command::kShowAllNodes, [this] { ShowEveryNode(); });
}

void NodeCommands::StartLink() {
  CNode* node = picks_.menuNode;
  if (node == nullptr) return;
  picks_.linkMode = true;
  picks_.linkSource = node;
  doc_.ShowStatusText(kLinkPrompt);
}

bool NodeCommands::CompleteLink(CNode* hit) {
  if (!picks_.linkMode) return false;
  picks_.linkMode = false;
  CNode* source = std::exchange(picks_.linkSource, nullptr);
  // The source may have gone since the prompt.
  if (hit != nullptr && source != nullptr) {
    emit signals_.EditBegins();
    doc_.NewLink(*source, *hit);
    emit signals_.EditEnds(QObject::tr("Link"));
  }
  return true;
}

void NodeCommands::HideMenuNode() {
  CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr;
  if (node == nullptr) return;
  // Its links disappear with it.
  VisibilityChange change(doc_);
  change.Set(*node, true);
  change.Finish();
}

void NodeCommands::MoveMenuNodeDepth(int step) {
  CNode* node = picks_.menuNode;
  if (node == nullptr) return;
  // The list re-sorts, so the node is drawn over (under) the nodes it now
  // passes in depth.
  doc_.NodeChanging(*node);
  node->SetDepth(node->GetDepth() + step);
  doc_.SetModified(true);
}

void NodeCommands::SetNeighborsHidden(bool hidden) {
  CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr;
  if (node == nullptr) return;
  VisibilityChange change(doc_);
  for (CLink* link : node->links) {
    CNode* other = link->endA == node ? link->endB : link->endA;
    // A link to itself has no neighbour: the node stays as it is.
    if (other != nullptr && other != node) change.Set(*other, hidden);
  }
  change.Finish();
}

void NodeCommands::DeleteMenuLink() {
  CLink* link = picks_.menuLink;
  if (link == nullptr) return;
  const Rect area = link->bounds;
  picks_.menuLink = nullptr;
  doc_.DeleteLink(*link);
  picture_.PictureChanged(area);
  doc_.SetModified(true);
}

void NodeCommands::DeleteNode(CNode& node) {
  // Whatever pointed at it (a menu, the selection, the route) lets go as it
  // leaves.
  const std::unique_ptr<CNode> removed = doc_.RemoveNode(node);  // with its links
  // One redraw covers the node with its label band and every line it had.
  picture_.PictureChanged();
  doc_.SetModified(true);
}

void NodeCommands::DeleteSelected() {
  CNode* node = selection_.SelectedNode();
  if (node == nullptr || !Prompts().AskYesNo("Delete " + node->label + "?")) return;
  DeleteNode(*node);
}

}  // namespace mapvine
