// Pinning a node against arranging, folding its LUs, and showing only a
// node's neighbourhood: the view asks, the document's operations do the work.
#include <QInputDialog>

#include <string>

#include "model/LuFold.h"
#include "model/Neighbourhood.h"
#include "dialogs/ModalDialog.h"
#include "view/NodeCommands.h"

namespace mapvine {

namespace {

// The hops offered first: the node, its neighbours and theirs.
constexpr int kDefaultHops = 2;

}  // namespace

void NodeCommands::TogglePin() {
  CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr;
  if (node == nullptr) return;
  doc_.NodeChanging(*node);
  node->pinned = !node->pinned;
  doc_.SetModified(true);
  doc_.ShowStatusText(node->label + (node->pinned ? " is pinned: arranging leaves it where it is"
                                                  : " is no longer pinned"));
}

void NodeCommands::ToggleLuFold() {
  CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr;
  if (node == nullptr || !SetLusFolded(doc_, *node, !node->lusFolded)) return;
  // A selection folded away would be framed where nothing is drawn.
  if (picks_.selected != nullptr && FoldedAway(*picks_.selected)) picks_.selected = node;
  const int count = OwnedLuCount(*node);
  doc_.ShowStatusText(node->label + (node->lusFolded ? " shows its " + std::to_string(count) + " LUs as one mark"
                                                     : " shows its " + std::to_string(count) + " LUs again"));
}

CommandState NodeCommands::LuFoldState() const {
  const CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr;
  // Unfolding stays offered when the LUs have gone since.
  return CommandState{.enabled = node != nullptr && (node->lusFolded || OwnedLuCount(*node) > 0),
                      .checked = node != nullptr && node->lusFolded};
}

CNode* NodeCommands::NeighbourhoodCentre() const {
  if (CNode* node = picks_.menuOnNode ? picks_.menuNode : nullptr) return node;
  return selection_.SelectedNode();
}

void NodeCommands::AskAndShowNeighbourhood(CNode& node) {
  QInputDialog dialog(&dialogParent_);
  dialog.setWindowTitle(QStringLiteral("Show Neighbourhood"));
  dialog.setLabelText(QStringLiteral("Show the resources within this many hops of %1:")
                          .arg(QString::fromStdString(node.label)));
  dialog.setInputMode(QInputDialog::IntInput);
  dialog.setIntRange(kMinNeighbourhoodHops, kMaxNeighbourhoodHops);
  dialog.setIntValue(kDefaultHops);
  if (RunModal(dialog) != QDialog::Accepted) return;
  const int hops = dialog.intValue();
  const int shown = ShowNeighbourhood(doc_, node, hops);
  doc_.ShowStatusText(NeighbourhoodText(shown, static_cast<int>(doc_.Nodes().size()), hops, node.label));
}

void NodeCommands::ShowEveryNode() {
  ShowAllNodes(doc_);
}

}  // namespace mapvine
