#include "app/DocumentCommands.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <cstdio>
#include <utility>

#include "base/UserPrompts.h"
#include "layout/PlaceNearNeighbours.h"
#include "model/SavedTopology.h"
#include "model/ViewSettings.h"
#include "refresh/RefreshCommand.h"
#include "base/Trace.h"
#include "view/CommandIds.h"
#include "view/ImageImport.h"
#include "view/ModalDialog.h"
#include "view/SettingsDialog.h"

namespace mapvine {
namespace {

SaveChoice AnswerNoOnStandardError(const QString& name) {
  std::fprintf(stderr, "Save changes to %s? (answered No)\n", qPrintable(name));
  return SaveChoice::No;
}

}  // namespace

DocumentCommands::DocumentCommands(CMapvineDoc& doc, SnaLibrary node, DocumentFile& file)
    : askSaveChanges(AnswerNoOnStandardError), doc_(doc), node_(std::move(node)), file_(file) {}

bool DocumentCommands::Refresh(RefreshTrigger trigger) {
  if (!node_.Loaded()) {
    notices_.Report(doc_, node_.error, trigger);
    return false;
  }
  if (std::exchange(refreshing_, true)) return false;
  const std::size_t placedBefore = doc_.NodesByArrival().size();
  if (history) history->Starting();
  const std::string failure = RefreshFailureReason(RefreshCommand(doc_, node_.snaCtl, progress));
  PlaceNearNeighbours(doc_, placedBefore);
  refreshing_ = false;
  if (history) history->Finished(doc_, QDateTime::currentMSecsSinceEpoch());
  if (refreshed) refreshed();
  notices_.Report(doc_, failure, trigger);
  return failure.empty();
}

void DocumentCommands::SetIcon(CSprite& node, int id) {
  switch (id) {
    case command::kIconHost:
      doc_.SetStandardIcon(node, kHostSlot, kHostSlot + kInactiveOffset);
      break;
    case command::kIconWorkstation:
      doc_.SetStandardIcon(node, EndNode, EndNode + kInactiveOffset);
      break;
    case command::kIconServerWorkstation:
      doc_.SetStandardIcon(node, NetworkNode, NetworkNode + kInactiveOffset);
      break;
    case command::kIconActive:
      doc_.SetCustomIcon(node, CustomIconRole::Active, AskForImage(ImageUse::Icon));
      break;
    case command::kIconInactive:
      doc_.SetCustomIcon(node, CustomIconRole::Inactive, AskForImage(ImageUse::Icon));
      break;
    default:  // "Same for Act/Inact..."
      doc_.SetCustomIcon(node, CustomIconRole::Both, AskForImage(ImageUse::Icon));
      break;
  }
}

void DocumentCommands::EditSettings() {
  SettingsDialog dialog(doc_.settings, QApplication::activeWindow());
  if (RunModal(dialog) != QDialog::Accepted) return;
  switch (ApplyViewSettings(doc_, dialog.Values())) {
    case RefreshTimerAction::Stop:
      if (DocumentView* view = doc_.View()) view->SetRefreshTimer(0);
      break;
    case RefreshTimerAction::RefreshNow:
      // The refresh arms the timer with the new period when it ends.
      Refresh(RefreshTrigger::User);
      break;
    case RefreshTimerAction::None:
      break;
  }
}

bool DocumentCommands::OnCommand(int id) {
  switch (id) {
    case command::kRefresh:
      Refresh(RefreshTrigger::User);
      return true;
    case command::kTileNodes:
      doc_.TileNodes();
      return true;
    case command::kManualAddNode:
      doc_.ManualAddNode();
      return true;
    case command::kTrace:
      ToggleTrace();
      return true;
    case command::kSettings:
      EditSettings();
      return true;
    case command::kNewBackgroundImage:
      doc_.NewBackgroundImage(AskForImage(ImageUse::Background));
      return true;
    case command::kIconHost:
    case command::kIconWorkstation:
    case command::kIconServerWorkstation:
    case command::kIconActive:
    case command::kIconInactive:
    case command::kIconSameForBoth:
      if (CSprite* node = selectedNode ? selectedNode() : nullptr) SetIcon(*node, id);
      return true;
    case command::kFileSave:
      Save();
      return true;
    case command::kFileSaveAs:
      SaveAs();
      return true;
    default:
      return false;
  }
}

std::optional<CommandState> DocumentCommands::CommandStateOf(int id) const {
  switch (id) {
    case command::kTrace:
      return CommandState{true, TraceEnabled()};
    case command::kRefresh:
    case command::kTileNodes:
    case command::kManualAddNode:
    case command::kNewBackgroundImage:
    case command::kSettings:
    case command::kFileSave:
    case command::kFileSaveAs:
      return CommandState{};
    default:
      return std::nullopt;
  }
}

bool DocumentCommands::Save() { return file_.Path().isEmpty() ? SaveAs() : SaveTo(file_.Path()); }

bool DocumentCommands::SaveAs() {
  const auto chosen = Prompts().AskSaveFileName(kTopologyFileFilter);
  if (!chosen) return false;
  QString path = QString::fromStdString(*chosen);
  if (QFileInfo(path).suffix().isEmpty()) path += kTopologyExtension;
  return SaveTo(path);
}

bool DocumentCommands::SaveTo(const QString& path) {
  if (beforeSave) beforeSave();
  // The save shows its own message when it fails.
  if (!SaveTopologyFile(doc_, path.toStdString())) return false;
  doc_.SetModified(false);
  file_.SetPath(path);
  return true;
}

bool DocumentCommands::SaveModified() {
  if (!doc_.IsModified()) return true;
  switch (askSaveChanges(file_.DisplayName())) {
    case SaveChoice::Yes:
      return Save();
    case SaveChoice::No:
      return true;
    case SaveChoice::Cancel:
      return false;
  }
  return false;
}

}  // namespace mapvine
