// Pinning a node against arranging, folding its LUs, and showing only a
// node's neighbourhood: the view asks, the document's operations do the work.
#include <QInputDialog>

#include <string>

#include "model/LuFold.h"
#include "model/Neighbourhood.h"
#include "view/MapvineView.h"
#include "dialogs/ModalDialog.h"

namespace mapvine {

namespace {

// The hops offered first: the node, its neighbours and theirs.
constexpr int kDefaultHops = 2;

}  // namespace

void CMapvineView::TogglePin() {
  CNode* node = picks_.menuOnNode ? MenuNode() : nullptr;
  if (node == nullptr) return;
  doc_.NodeChanging(*node);
  node->pinned = !node->pinned;
  doc_.SetModified(true);
  doc_.ShowStatusText(node->label + (node->pinned ? " is pinned: arranging leaves it where it is"
                                                  : " is no longer pinned"));
}

void CMapvineView::ToggleLuFold() {
  CNode* node = picks_.menuOnNode ? MenuNode() : nullptr;
  if (node == nullptr || !SetLusFolded(doc_, *node, !node->lusFolded)) return;
  // A selection folded away would be framed where nothing is drawn.
  if (picks_.selected != nullptr && FoldedAway(*picks_.selected)) picks_.selected = node;
  const int count = OwnedLuCount(*node);
  doc_.ShowStatusText(node->label + (node->lusFolded ? " shows its " + std::to_string(count) + " LUs as one mark"
                                                     : " shows its " + std::to_string(count) + " LUs again"));
}

CommandState CMapvineView::LuFoldState() const {
  const CNode* node = picks_.menuOnNode ? MenuNode() : nullptr;
  // Unfolding stays offered when the LUs have gone since.
  return CommandState{.enabled = node != nullptr && (node->lusFolded || OwnedLuCount(*node) > 0),
                      .checked = node != nullptr && node->lusFolded};
}

CNode* CMapvineView::NeighbourhoodCentre() const {
  if (CNode* node = picks_.menuOnNode ? MenuNode() : nullptr) return node;
  return SelectedNode();
}

void CMapvineView::AskAndShowNeighbourhood(CNode& node) {
  QInputDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("Show Neighbourhood"));
  dialog.setLabelText(QStringLiteral("Show the resources within this many hops of %1:")
                          .arg(QString::fromStdString(node.label)));
  dialog.setInputMode(QInputDialog::IntInput);
  dialog.setIntRange(kMinNeighbourhoodHops, kMaxNeighbourhoodHops);
  dialog.setIntValue(kDefaultHops);
  if (RunModal(dialog) != QDialog::Accepted) return;
  const int hops = dialog.intValue();
  const int shown = ShowNeighbourhood(doc_, node, hops);
  PictureChanged();
  doc_.ShowStatusText(NeighbourhoodText(shown, static_cast<int>(doc_.Nodes().size()), hops, node.label));
}

void CMapvineView::ShowEveryNode() {
  if (ShowAllNodes(doc_) > 0) PictureChanged();
}

}  // namespace mapvine
