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

// The icon commands: a standard family's active image, whose inactive one
// follows it in the image slots, or a custom image for one role or both.
struct StandardIcon {
  int id;
  int slot;
};
constexpr StandardIcon kStandardIcons[] = {
    {command::kIconHost, kHostSlot},
    {command::kIconWorkstation, EndNode},
    {command::kIconServerWorkstation, NetworkNode},
};
struct CustomIcon {
  int id;
  CustomIconRole role;
  bool needsNode;
};
constexpr CustomIcon kCustomIcons[] = {
    {command::kIconActive, CustomIconRole::Active, false},
    {command::kIconInactive, CustomIconRole::Inactive, false},
    {command::kIconSameForBoth, CustomIconRole::Both, true},
};

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
  // The icons act on the node whose menu was opened; a standard family
  // needs one to be enabled, the custom icons are offered on every menu.
  const auto onMenuNode = [this](std::function<void(CNode&)> act) {
    return [this, act = std::move(act)] {
      if (CNode* node = selectedNode ? selectedNode() : nullptr) act(*node);
    };
  };
  const auto needsNode = [this] {
    return CommandState{.enabled = selectedNode && selectedNode() != nullptr, .checked = false};
  };
  for (const StandardIcon& icon : kStandardIcons) {
    commands.Bind(icon.id, onMenuNode([this, slot = icon.slot](CNode& node) {
                    doc_.SetStandardIcon(node, slot, slot + kInactiveOffset);
                  }),
                  needsNode);
  }
  for (const CustomIcon& icon : kCustomIcons) {
    commands.Bind(icon.id, onMenuNode([this, role = icon.role](CNode& node) {
                    doc_.SetCustomIcon(node, role, AskForImage(ImageUse::Icon));
                  }),
                  icon.needsNode ? CommandBindings::StateRule{needsNode} : CommandBindings::StateRule{});
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
