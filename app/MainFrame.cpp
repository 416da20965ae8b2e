#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWhatsThis>

#include "app/HelpWindow.h"
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

}  // namespace

CMainFrame::CMainFrame(CMapvineDoc& doc, DocumentCommands& documentCommands, CommandTarget& application)
    : doc_(doc), documentCommands_(documentCommands), view_(new CMapvineView(doc, this)) {
  router_ = CommandRouter{view_, &documentCommands, this, &application};
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
  // A timer tick runs what F5 runs, but reports a failing node only once.
  connect(view_, &CMapvineView::RefreshTimerFired, this, [this] {
    documentCommands_.Refresh(RefreshTrigger::Timer);
    UpdateCommandStates();
  });
  // Context-menu choices go down the same chain as the main menu's.
  connect(view_, &CMapvineView::CommandChosen, this, [this](int id) { Route(id); });
  // The icon commands act on the node whose context menu was opened.
  documentCommands_.selectedNode = [this] { return view_->MenuNode(); };
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
}

bool CMainFrame::Route(int id) {
  const bool handled = router_.Route(id);
  UpdateCommandStates();
  return handled;
}

void CMainFrame::UpdateCommandStates() {
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    const CommandState state = router_.StateOf(it.key());
    it.value()->setEnabled(state.enabled);
    // Only a checked item shows a check mark; the others show no box.
    it.value()->setCheckable(state.checked);
    it.value()->setChecked(state.checked);
  }
}

void CMainFrame::SetDocumentName(const QString& name) { setWindowTitle(name + " - " + kTitle); }

void CMainFrame::SetStatusText(std::string_view text) {
  statusBar()->showMessage(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  // A refresh keeps the event loop busy: paint the pane now or never.
  statusBar()->repaint();
}

QString CMainFrame::StatusText() const { return statusBar()->currentMessage(); }

bool CMainFrame::OnCommand(int id) {
  switch (id) {
    case command::kHelpTopics:
    case command::kHelp:
    case command::kDefaultHelp:
      ShowHelp();
      return true;
    case command::kContextHelp:
      QWhatsThis::enterWhatsThisMode();
      return true;
    default:
      return false;
  }
}

std::optional<CommandState> CMainFrame::CommandStateOf(int id) const {
  switch (id) {
    case command::kHelpTopics:
    case command::kHelp:
    case command::kDefaultHelp:
    case command::kContextHelp:
      return CommandState{};
    default:
      return std::nullopt;
  }
}

void CMainFrame::ShowHelp() {
  if (!helpWindow_) helpWindow_ = CreateHelpWindow(this);
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

bool CMainFrame::event(QEvent* event) {
  // When the pointer leaves an item, the pane goes back to its idle text
  // rather than to blank.
  if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
    statusBar()->showMessage(kIdleText);
    return true;
  }
  return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (documentCommands_.SaveModified()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace mapvine
