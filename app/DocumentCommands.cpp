#include "app/DocumentCommands.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/UserPrompts.h"
#include "layout/PlaceNearNeighbours.h"
#include "model/SavedTopology.h"
#include "model/ViewSettings.h"
#include "refresh/RefreshCommand.h"
#include "base/Trace.h"
#include "view/CommandIds.h"
#include "app/ImageImport.h"
#include "dialogs/ModalDialog.h"
#include "app/SettingsDialog.h"

namespace mapvine {
namespace {

constexpr const char* kChecksAtOnceKey = "status/checksAtOnce";
constexpr const char* kCheckDeadlineKey = "status/deadlineSeconds";

StatusCheckLimits RememberedStatusLimits() {
  const QSettings settings("Mapvine", "Mapvine");
  StatusCheckLimits limits;
  limits.atOnce = std::clamp(settings.value(kChecksAtOnceKey, limits.atOnce).toInt(), 1,
                             StatusCheckLimits::kMaxAtOnce);
  limits.deadlineMilliseconds =
      1000 * std::clamp(settings.value(kCheckDeadlineKey, StatusCheckLimits::kDefaultDeadlineSeconds).toInt(), 1,
                        StatusCheckLimits::kMaxDeadlineSeconds);
  return limits;
}

void RememberStatusLimits(const StatusCheckLimits& limits) {
  QSettings settings("Mapvine", "Mapvine");
  settings.setValue(kChecksAtOnceKey, limits.atOnce);
  settings.setValue(kCheckDeadlineKey, limits.deadlineMilliseconds / 1000);
}

SaveChoice AnswerNoOnStandardError(const QString& name) {
  std::fprintf(stderr, "Save changes to %s? (answered No)\n", qPrintable(name));
  return SaveChoice::No;
}

}  // namespace

DocumentCommands::DocumentCommands(CMapvineDoc& doc, SnaLibrary node, DocumentFile& file)
    : askSaveChanges(AnswerNoOnStandardError),
      doc_(doc),
      node_(std::move(node)),
      file_(file),
      gui_(std::make_shared<QtGuiThread>()) {
  statusLimits = RememberedStatusLimits();
  doc_.SetListener(&refreshTimer_);
  if (!node_.Loaded()) return;
  worker_ = std::make_unique<NodeWorker>(node_.snaCtl, gui_);
  worker_->SetQuietHandler([this] { TellRefreshState(); });
}

// The program does not wait for a verb the node never answers: its thread
// runs on, detached, and whatever it posts later is dropped.
DocumentCommands::~DocumentCommands() {
  run_.reset();
  worker_.reset();
  gui_->Close();
  doc_.SetListener(nullptr);
}

bool DocumentCommands::Refresh(RefreshTrigger trigger) {
  if (!node_.Loaded()) {
    notices_.Report(doc_, node_.error, trigger);
    return false;
  }
  if (run_ || NodeBusy()) return false;
  Starting();
  run_ = std::make_unique<RefreshRun>(doc_, *worker_, *gui_, statusLimits, progress,
                                      [this, trigger](const RefreshResult& result) { Refreshed(result, trigger); });
  run_->SetHoldBack(holdBackRefresh);
  TellRefreshState();
  run_->Start();
  return true;
}

void DocumentCommands::Starting() {
  placedBefore_ = doc_.NodesByArrival().size();
  if (history) history->Starting();
}

void DocumentCommands::Finished() {
  PlaceNearNeighbours(doc_, placedBefore_);
  if (history) history->Finished(doc_, QDateTime::currentMSecsSinceEpoch());
  if (refreshed) refreshed();
}

void DocumentCommands::Refreshed(const RefreshResult& result, RefreshTrigger trigger) {
  // The run is still on the stack: it goes once it has returned.
  gui_->Post([run = std::shared_ptr<RefreshRun>(std::move(run_))] {});
  Finished();
  if (result.stopped) {
    doc_.ShowStatusText("Refresh stopped");
  } else {
    notices_.Report(doc_, RefreshFailureReason(result.outcome), trigger);
  }
  TellRefreshState();
}

bool DocumentCommands::RefreshAndWait() {
  if (!node_.Loaded()) {
    notices_.Report(doc_, node_.error, RefreshTrigger::User);
    return false;
  }
  Starting();
  const std::string failure = RefreshFailureReason(RefreshCommand(doc_, node_.snaCtl, nullptr, statusLimits));
  Finished();
  notices_.Report(doc_, failure, RefreshTrigger::User);
  return failure.empty();
}

void DocumentCommands::StopRefresh() {
  if (run_) run_->Stop();
}

void DocumentCommands::KeepWaiting() {
  if (run_) run_->KeepWaiting();
}

void DocumentCommands::TellRefreshState() const {
  if (refreshStateChanged) refreshStateChanged();
}

void DocumentCommands::SetIcon(CNode& node, int id) {
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
  SettingsDialog dialog(doc_.settings, QApplication::activeWindow(), statusLimits);
  if (RunModal(dialog) != QDialog::Accepted) return;
  statusLimits = dialog.StatusLimits();
  RememberStatusLimits(statusLimits);
  switch (ApplyViewSettings(doc_, dialog.Values())) {
    case RefreshTimerAction::Stop:
      refreshTimer_.Stop();
      break;
    case RefreshTimerAction::RefreshNow:
      // The refresh arms the timer with the new period when it ends.
      Refresh(RefreshTrigger::User);
      break;
    case RefreshTimerAction::None:
      break;
  }
}

void DocumentCommands::BindCommands(CommandBindings& commands) {
  commands.Bind(command::kRefresh, [this] { Refresh(RefreshTrigger::User); },
                [this] { return CommandState{.enabled = !Refreshing() && !NodeBusy(), .checked = false}; });
  commands.Bind(command::kTileNodes, [this] { doc_.TileNodes(); });
  commands.Bind(command::kManualAddNode, [this] { doc_.ManualAddNode(); });
  commands.Bind(command::kTrace, [] { ToggleTrace(); },
                [] { return CommandState{.enabled = true, .checked = TraceEnabled()}; });
  commands.Bind(command::kSettings, [this] { EditSettings(); });
  commands.Bind(command::kNewBackgroundImage,
                [this] { doc_.NewBackgroundImage(AskForImage(ImageUse::Background)); });
  commands.Bind(command::kFileSave, [this] { Save(); });
  commands.Bind(command::kFileSaveAs, [this] { SaveAs(); });
  // A standard icon family needs the node the menu was opened on; the
  // custom icons are offered on every menu.
  const auto needsNode = [this] {
    return CommandState{.enabled = selectedNode && selectedNode() != nullptr, .checked = false};
  };
  for (const int id : {command::kIconHost, command::kIconWorkstation, command::kIconServerWorkstation,
                       command::kIconSameForBoth, command::kIconActive, command::kIconInactive}) {
    const bool custom = id == command::kIconActive || id == command::kIconInactive;
    commands.Bind(
        id,
        [this, id] {
          if (CNode* node = selectedNode ? selectedNode() : nullptr) SetIcon(*node, id);
        },
        custom ? CommandBindings::StateRule{} : needsNode);
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
