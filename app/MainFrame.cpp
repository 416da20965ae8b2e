#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWhatsThis>

#include "app/ExportDialog.h"
#include "app/HelpWindow.h"
#include "app/RefreshBlocking.h"
#include "app/RememberedSettings.h"
#include "app/StatusMessage.h"
#include "base/UserPrompts.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

SaveChoice AskInMessageBox(QWidget* parent, const QString& name) {
  const auto answer = QMessageBox::question(parent, CMainFrame::kTitle, QStringLiteral("Save changes to %1?").arg(name),
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) return SaveChoice::Yes;
  if (answer == QMessageBox::No) return SaveChoice::No;
  return SaveChoice::Cancel;
}

// A blocked command's tooltip and status tip say why; its own come back
// once it is free again.
void ShowWhyBlocked(QAction& action, const char* why) {
  static const char* const kOwnTips = "mapvineOwnTips";
  const QVariant own = action.property(kOwnTips);
  if (why != nullptr) {
    if (!own.isValid()) action.setProperty(kOwnTips, QStringList{action.toolTip(), action.statusTip()});
    action.setToolTip(QString::fromUtf8(why));
    action.setStatusTip(QString::fromUtf8(why));
  } else if (own.isValid()) {
    const QStringList tips = own.toStringList();
    action.setToolTip(tips.value(0));
    action.setStatusTip(tips.value(1));
    action.setProperty(kOwnTips, QVariant());
  }
}

}  // namespace

CMainFrame::CMainFrame(CMapvineDoc& doc, DocumentCommands& documentCommands, CommandOwner& application)
    : doc_(doc),
      documentCommands_(documentCommands),
      view_(new CMapvineView(doc, this)),
      edits_(doc, [this] { view_->Picks().ForgetMenuDragAndLink(); }) {
  setCentralWidget(view_);
  setWindowIcon(QIcon(":/mapvine.png"));
  view_->setWhatsThis(
      tr("The topology picture: nodes and logical units as icons, transmission groups and "
         "LU links as lines, green when active and red when not. F5 refreshes it from the node."));
  BuildMenus();
  BuildAccelerators();
  BuildToolBar();
  BuildStatusBar();
  BuildChangesDock();
  progress_ = std::make_unique<StatusProgress>(*statusBar(), *this);
  // The progress serves a refresh, an arrangement or an export, one at a
  // time.
  progress_->stop = [this] {
    if (arrange_->Running()) {
      arrange_->Stop();
    } else if (export_->Running()) {
      export_->Stop();
    } else {
      documentCommands_.StopRefresh();
    }
  };
  progress_->keepWaiting = [this] { documentCommands_.KeepWaiting(); };
  progress_->say = [this](std::string_view text) { SetStatusText(text); };
  documentCommands_.progress = progress_.get();
  arrange_ = std::make_unique<ArrangeCommand>(doc_, edits_, *progress_);
  arrange_->finished = [this] { UpdateCommandStates(); };
  export_ = std::make_unique<ExportCommand>(doc_, *progress_);
  export_->finished = [this] { UpdateCommandStates(); };
  // Each part binds the commands it carries out, once.
  view_->BindCommands(commands_);
  documentCommands_.BindCommands(commands_);
  arrange_->BindCommands(commands_);
  BindCommands(commands_);
  application.BindCommands(commands_);
  documentCommands_.refreshStateChanged = [this] { UpdateCommandStates(); };
  // A drag or another edit in the making keeps a refresh's answers waiting.
  documentCommands_.holdBackRefresh = [this] { return edits_.Open(); };
  // A timer tick runs what F5 runs, but reports a failing node only once.
  connect(&documentCommands_.Timer(), &RefreshTimer::Fired, this, [this] {
    // Nothing changes the picture while it is being arranged, and a refresh
    // would take the progress an export shows.
    if (arrange_->Running() || export_->Running()) return;
    documentCommands_.Refresh(RefreshTrigger::Timer);
    UpdateCommandStates();
  });
  // A drag or a completed link is an edit too.
  connect(&view_->Signals(), &ViewSignals::EditBegins, this, [this] { edits_.Begin(false); });
  connect(&view_->Signals(), &ViewSignals::EditEnds, this, [this](const QString& name) {
    edits_.End(name);
    UpdateCommandStates();
  });
  // Context-menu choices run as the main menu's do.
  connect(&view_->Signals(), &ViewSignals::CommandChosen, this, [this](int id) { Route(id); });
  // "Mark inactive links" is the person's, not the picture's: it outlives
  // the session and is not saved with the file.
  static const char* const kMarkInactiveKey = "view/markInactiveLinks";
  view_->Picture().SetMarkInactiveLinks(QSettings("Mapvine", "Mapvine").value(kMarkInactiveKey).toBool());
  connect(&view_->Signals(), &ViewSignals::MarkInactiveLinksChanged, this,
          [](bool mark) { QSettings("Mapvine", "Mapvine").setValue(kMarkInactiveKey, mark); });
  // The icon commands act on the node whose context menu was opened.
  documentCommands_.selectedNode = [this] { return view_->Picks().menuNode; };
  doc_.AttachStatusLine(this);
  documentCommands_.askSaveChanges = [this](const QString& name) { return AskInMessageBox(this, name); };
  SetRecentFiles({});
  SetDocumentName(QStringLiteral("Untitled"));
  UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
  doc_.AttachStatusLine(nullptr);
  documentCommands_.askSaveChanges = nullptr;
  documentCommands_.refreshed = nullptr;
  documentCommands_.progress = nullptr;
  documentCommands_.refreshStateChanged = nullptr;
  documentCommands_.holdBackRefresh = nullptr;
}

bool CMainFrame::Route(int id) {
  if (const char* why = WhyBlocked(id)) {
    SetStatusText(why);
    return true;
  }
  const std::optional<UndoableCommand> edit = UndoableCommandOf(id);
  if (edit) edits_.Begin(edit->changesBackground);
  const bool handled = commands_.Run(id);
  if (edit) edits_.End(QString::fromUtf8(edit->name));
  UpdateCommandStates();
  return handled;
}

const char* CMainFrame::WhyBlocked(int id) const {
  if (documentCommands_.Refreshing() && BlockedWhileRefreshing(id)) return kBlockedWhileRefreshingText;
  if (id == command::kRefresh && documentCommands_.NodeBusy()) return kNodeBusyText;
  return nullptr;
}

void CMainFrame::UpdateCommandStates() {
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    // A command nobody carries out is greyed, and its keys do nothing.
    const CommandState state = commands_.StateOf(it.key()).value_or(CommandState{false, false});
    const char* why = WhyBlocked(it.key());
    ShowWhyBlocked(*it.value(), why);
    it.value()->setEnabled(state.enabled && why == nullptr);
    // Only a checked item shows a check mark; the others show no box.
    it.value()->setCheckable(state.checked);
    it.value()->setChecked(state.checked);
  }
  // The undo items name what they would undo.
  if (QAction* undo = ActionFor(command::kEditUndo)) undo->setText(tr("&Undo %1").arg(edits_.Stack().undoText()).trimmed());
  if (QAction* redo = ActionFor(command::kEditRedo)) redo->setText(tr("&Redo %1").arg(edits_.Stack().redoText()).trimmed());
  setWindowModified(doc_.IsModified());
}

void CMainFrame::SetDocumentName(const QString& name) {
  setWindowTitle(name + "[*] - " + kTitle);
  setWindowModified(doc_.IsModified());
}

void CMainFrame::SetStatusText(std::string_view text) {
  // Painted with the next turn of the event loop: a repaint here would
  // paint the whole window, the picture included, for every text.
  statusMessage_->Show(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QString CMainFrame::StatusText() const { return statusMessage_->Text(); }

void CMainFrame::BindCommands(CommandBindings& commands) {
  for (const int id : {command::kHelpTopics, command::kHelp}) commands.Bind(id, [this] { ShowHelp(); });
  commands.Bind(command::kContextHelp, [] { QWhatsThis::enterWhatsThisMode(); });
  commands.Bind(command::kAppAbout, [this] { ShowAbout(); });
  commands.Bind(command::kFileExport, [this] { ExportFromDialog(); },
                [this] { return CommandState{.enabled = !progress_->Running(), .checked = false}; });
  commands.Bind(command::kEditUndo, [this] { edits_.Stack().undo(); },
                [this] { return CommandState{.enabled = edits_.Stack().canUndo(), .checked = false}; });
  commands.Bind(command::kEditRedo, [this] { edits_.Stack().redo(); },
                [this] { return CommandState{.enabled = edits_.Stack().canRedo(), .checked = false}; });
}

void CMainFrame::ExportFromDialog() {
  // The command is greyed while the progress serves something else, but
  // the dialog may outlast that.
  const std::optional<ExportChoice> choice = AskExportChoice(this);
  if (choice && !export_->Start(*choice)) SetStatusText(ExportCommand::kBusyText);
}

void CMainFrame::ShowHelp() {
  if (!helpWindow_) helpWindow_ = CreateHelpWindow(this);
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

void CMainFrame::ShowAbout() {
  QMessageBox::about(this, tr("About Mapvine"),
                     tr("<h3>Mapvine %1</h3>"
                        "<p>Kelvra Tarnwell Topology Display: draws the APPN topology known to the local "
                        "SNA node.</p><p>Built with Qt %2, running on Qt %3.</p>")
                         .arg(MAPVINE_VERSION, QT_VERSION_STR, qVersion()));
}

bool CMainFrame::event(QEvent* event) {
  // An item's prompt shows in the message pane like any text; when the
  // pointer leaves the item, the pane goes back to its idle text rather
  // than to blank.
  if (event->type() == QEvent::StatusTip) {
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    statusMessage_->Show(tip.isEmpty() ? QString(kIdleText) : tip);
    return true;
  }
  return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // An export still being written is stopped as the window goes, leaving no
  // file behind; the person may rather wait for it.
  if (export_->Running() &&
      !Prompts().AskYesNo("The picture is still being exported to " + export_->Path() + ". Stop the export and close?")) {
    event->ignore();
    return;
  }
  if (documentCommands_.SaveModified()) {
    export_->Stop();
    SaveWindowLayout(*this);
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace mapvine
