// The picture commands bound with the rule for their state, and carried
// out: show chosen hidden nodes, resize the picture, arrange its background,
// acknowledge the change marks, dash inactive links.
#include "view/PictureCommands.h"

#include "dialogs/ModalDialog.h"
#include "dialogs/ResizeDialog.h"
#include "dialogs/ShowNodesDialog.h"
#include "model/ChangeComparison.h"
#include "model/NodeVisibility.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

struct ClassCommand {
  int id;
  NodeClass nodeClass;
  bool hide;
};

constexpr ClassCommand kClassCommands[] = {
    {command::kHideAllNetworkNodes, NodeClass::NetworkNodes, true},
    {command::kHideAllConnectionNetworks, NodeClass::ConnectionNetworks, true},
    {command::kHideAllEndNodes, NodeClass::EndNodes, true},
    {command::kHideAllLogicalUnits, NodeClass::LogicalUnits, true},
    {command::kHideAllUnreachable, NodeClass::Unreachable, true},
    {command::kShowAllNetworkNodes, NodeClass::NetworkNodes, false},
    {command::kShowAllConnectionNetworks, NodeClass::ConnectionNetworks, false},
    {command::kShowAllEndNodes, NodeClass::EndNodes, false},
    {command::kShowAllLogicalUnits, NodeClass::LogicalUnits, false},
    {command::kShowAllUnreachable, NodeClass::Unreachable, false},
};

struct ArrangementCommand {
  int id;
  BackgroundArrangement arrangement;
};

constexpr ArrangementCommand kArrangementCommands[] = {
    {command::kBackgroundTile, BackgroundArrangement::Tile},
    {command::kBackgroundStretch, BackgroundArrangement::Stretch},
    {command::kBackgroundCenter, BackgroundArrangement::Centre},
};

}  // namespace

void PictureCommands::BindCommands(CommandBindings& commands) {
  // What the picture shows, and how.
  for (const ClassCommand& c : kClassCommands) {
    commands.Bind(c.id, [this, c] {
      if (c.hide) {
        HideAllOfClass(doc_, c.nodeClass);
      } else {
        ShowAllOfClass(doc_, c.nodeClass);
      }
    });
  }
  for (const ArrangementCommand& c : kArrangementCommands) {
    commands.Bind(c.id, [this, c] { ArrangeBackground(c.arrangement); },
                  [this, c] { return CommandState{.enabled = true, .checked = c.arrangement == ShownArrangement()}; });
  }
  commands.Bind(command::kShowHiddenNodes, [this] { ShowChosenHiddenNodes(); });
  commands.Bind(command::kResizeBackground, [this] { ResizeBackground(); });
  commands.Bind(command::kAcknowledgeChanges, [this] {
    AcknowledgeChanges(doc_);
    picture_.PictureChanged();
    emit signals_.AllMarksAcknowledged();
  });
  commands.Bind(
      command::kMarkInactiveLinks,
      [this] {
        SetMarkInactiveLinks(!renderer_.DashInactiveLinks());
        emit signals_.MarkInactiveLinksChanged(renderer_.DashInactiveLinks());
      },
      [this] { return CommandState{.enabled = true, .checked = renderer_.DashInactiveLinks()}; });
}

void PictureCommands::SetMarkInactiveLinks(bool mark) {
  if (mark == renderer_.DashInactiveLinks()) return;
  renderer_.SetDashInactiveLinks(mark);
  picture_.OverlayChanged();
}

void PictureCommands::AcknowledgeChangeAt(CNode* hitNode, Point at) {
  if (hitNode != nullptr) {
    if (hitNode->changeMark == ChangeMark::None) return;
    hitNode->changeMark = ChangeMark::None;
    picture_.OverlayChanged(hitNode->GetRect());
    emit signals_.MarkAcknowledged({ChangeMark::None, false, hitNode->fqName, {}, 0});
    return;
  }
  CLink* link = renderer_.Index().LinkAt(at);
  if (link == nullptr || link->changeMark == ChangeMark::None) return;
  link->changeMark = ChangeMark::None;
  picture_.OverlayChanged(link->bounds);
  if (link->endA && link->endB) emit signals_.MarkAcknowledged({ChangeMark::None, true, link->endA->fqName, link->endB->fqName, link->tgNumber});
}

void PictureCommands::ShowChosenHiddenNodes() {
  ShowNodesDialog dialog(HiddenLabels(doc_.Nodes()), &dialogParent_);
  if (RunModal(dialog) != QDialog::Accepted) return;
  ShowFirstHolders(doc_, dialog.SelectedLabels());
}

void PictureCommands::ResizeBackground() {
  ResizeDialog dialog(doc_.picture.composedWidth, doc_.picture.composedHeight, &dialogParent_);
  if (RunModal(dialog) != QDialog::Accepted) return;
  int width = dialog.Width();
  int height = dialog.Height();
  // A side of 0 asks for the background image's own size, as a saved
  // picture without a size is opened; there is no empty picture to show.
  if (const CDIB* source = doc_.backgroundSource.get()) {
    if (width == 0) width = source->GetWidth();
    if (height == 0) height = source->GetHeight();
  }
  doc_.ComposeBackground(nullptr, doc_.picture.backgroundMode, width, height);
}

void PictureCommands::ArrangeBackground(BackgroundArrangement chosen) {
  arrangement = chosen;
  // Same size, laid out anew. The document takes the choice as its own, so
  // that it overrides an arrangement a saved picture brought and is saved
  // with the picture.
  doc_.ComposeBackground(nullptr, chosen, doc_.picture.composedWidth, doc_.picture.composedHeight);
}

BackgroundArrangement PictureCommands::ShownArrangement() const {
  return doc_.composedBackground ? doc_.composedBackground->Arrangement() : arrangement;
}

}  // namespace mapvine
