// The Details command of the node and link menus: the dialog that decodes
// what the SNA node reported about the node or link, and that lets the user
// rename a node or set a node's or link's status by hand.
#include <utility>

#include "dialogs/DetailEdits.h"
#include "dialogs/DetailTexts.h"
#include "dialogs/LinkDetailDialogs.h"
#include "dialogs/ModalDialog.h"
#include "dialogs/NodeDetailDialogs.h"
#include "view/NodeCommands.h"

namespace mapvine {

template <typename Dialog, typename Item, typename Texts>
bool NodeCommands::EditDetails(Item& item, const Texts& texts) {
  Dialog dialog(texts, &dialogParent_);
  // A refresh may run while the dialog is open; the item must still be
  // there to take the edits.
  picks_.edited = &item;
  const bool accepted = RunModal(dialog) == QDialog::Accepted;
  const bool present = std::exchange(picks_.edited, nullptr) != nullptr;
  if (!accepted || !present) return false;
  ApplyDetailEdits(doc_, item, dialog.Texts());
  return true;
}

void NodeCommands::ShowMenuDetails() {
  if (picks_.menuOnNode) {
    if (CNode* node = picks_.menuNode) ShowNodeDetails(*node);
  } else if (CLink* link = picks_.menuLink) {
    ShowLinkDetails(*link);
  }
}

void NodeCommands::ShowNodeDetails(CNode& node) {
  const bool edited = DetailFormOf(node) == DetailForm::Directory
                          ? EditDetails<CDirectoryDetailDialog>(
                                node, DirectoryTextsFromRecord(*node.directoryRecord))
                          : EditDetails<CNodeDetailDialog>(node, NodeDetailTextsOf(node));
  if (edited) documentView_.NodeChanged(node);
}

void NodeCommands::ShowLinkDetails(CLink& link) {
  const bool edited =
      DetailFormOf(link) == DetailForm::TransmissionGroup
          ? EditDetails<CTgDetailDialog>(link, TgTextsFromRecord(*link.tgRecord, link))
          : EditDetails<CLinkDetailDialog>(link, LinkTextsWithoutRecord(link));
  if (!edited) return;
  // Both ends are redrawn, and the line between them with them.
  if (link.endA != nullptr) documentView_.NodeChanged(*link.endA);
  if (link.endB != nullptr) documentView_.NodeChanged(*link.endB);
}

}  // namespace mapvine
