// The main frame's menu, accelerators, toolbar and status bar.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <utility>

#include "app/MainFrame.h"
#include "app/StatusMessage.h"
#include "app/MenuLayout.h"
#include "app/RecentFileList.h"
#include "view/CommandIds.h"
#include "view/CommandTable.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

// What the command's row says: text, keys (the first shown in menus),
// prompt (Qt shows its first line in the status bar and its second as the
// tip) and toolbar image.
void ApplyCommandInfo(QAction& action, const CommandInfo& info) {
  if (info.text != nullptr) action.setText(QString::fromUtf8(info.text));
  if (info.keys != nullptr) {
    action.setShortcuts(QKeySequence::listFromString(info.keys, QKeySequence::PortableText));
  }
  if (info.prompt != nullptr) {
    const QString prompt = QString::fromUtf8(info.prompt);
    const qsizetype newline = prompt.indexOf('\n');
    action.setStatusTip(prompt.left(newline));
    if (newline >= 0) action.setToolTip(prompt.mid(newline + 1));
  }
  if (info.toolbarImage != nullptr) action.setIcon(QIcon(info.toolbarImage));
}

QMenu* MenuNamed(QWidget& parent, const QList<QMenu*>& menus, const QString& title) {
  for (QMenu* menu : menus) {
    if (menu->title() == title && menu->parentWidget() == &parent) return menu;
  }
  return nullptr;
}

}  // namespace

QAction* CMainFrame::ActionOf(int id) {
  if (QAction* existing = actions_.value(id)) return existing;
  auto* action = new QAction(this);
  action->setData(id);
  if (const CommandInfo* info = FindCommand(id)) ApplyCommandInfo(*action, *info);
  // The window listens for every command's keys, also for commands that
  // appear in no menu.
  addAction(action);
  connect(action, &QAction::triggered, this, [this, id] { Route(id); });
  actions_.insert(id, action);
  return action;
}

void CMainFrame::BuildMenus() {
  QList<QMenu*> menus;
  for (const MenuEntry& item : MainMenuItems()) {
    QMenu* top = MenuNamed(*menuBar(), menus, item.menu);
    if (!top) {
      top = menuBar()->addMenu(item.menu);
      connect(top, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
      menus.append(top);
    }
    QMenu* menu = top;
    if (item.submenu) {
      menu = MenuNamed(*top, menus, item.submenu);
      if (!menu) {
        menu = top->addMenu(item.submenu);
        menus.append(menu);
      }
    }
    if (item.id == 0) {
      menu->addSeparator();
      continue;
    }
    const int count = item.id == command::kFileMruFirst ? command::kRecentFileCount : 1;
    for (int i = 0; i < count; ++i) menu->addAction(ActionOf(item.id + i));
  }
}

void CMainFrame::BuildAccelerators() {
  // Keys reach their command also when it is in no menu.
  for (const CommandInfo& info : Commands()) {
    if (info.keys != nullptr) ActionOf(info.id);
  }
}

void CMainFrame::BuildToolBar() {
  QToolBar* toolbar = addToolBar(tr("Standard"));
  toolbar->setObjectName("toolbar");
  toolbar->setIconSize(QSize(16, 15));
  for (int id : ToolbarCommands()) {
    if (id == 0) {
      toolbar->addSeparator();
    } else {
      toolbar->addAction(ActionOf(id));
    }
  }
}

void CMainFrame::BuildStatusBar() {
  auto* zoom = new QLabel(statusBar());
  zoom->setObjectName("ZOOM");
  statusBar()->addPermanentWidget(zoom);
  ShowZoom(view_->Zooming().Zoom(), view_->Zooming().Fitted());
  connect(&view_->Signals(), &ViewSignals::ZoomChanged, this, &CMainFrame::ShowZoom);
  for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
    auto* label = new QLabel(indicator, statusBar());
    label->setObjectName(indicator);
    // A pane keeps its place while its lock is off, so the others do not move.
    label->setMinimumWidth(label->sizeHint().width());
    statusBar()->addPermanentWidget(label);
  }
  statusMessage_ = new StatusMessage(*statusBar());
  statusMessage_->Show(kIdleText);
  UpdateLockIndicators();
  // A lock key may be pressed in any of the program's windows.
  qApp->installEventFilter(this);
}

void CMainFrame::ShowZoom(double zoom, bool fitted) {
  auto* label = statusBar()->findChild<QLabel*>("ZOOM");
  if (label == nullptr) return;
  const QString percent = QStringLiteral("%1%").arg(qRound(zoom * 100.0));
  label->setText(fitted ? tr("Fit to Window (%1)").arg(percent) : percent);
  UpdateCommandStates();
}

void CMainFrame::UpdateLockIndicators() {
  const LockKeyState state = readLockKeys ? readLockKeys().value_or(LockKeyState{}) : LockKeyState{};
  const std::pair<const char*, bool> indicators[] = {
      {"CAP", state.caps}, {"NUM", state.num}, {"SCRL", state.scroll}};
  for (const auto& [name, on] : indicators) {
    if (auto* label = statusBar()->findChild<QLabel*>(name)) label->setText(on ? name : "");
  }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  // The key's own event comes after the keyboard changed its lights; a
  // lock changed in another program shows once this one is active again.
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ApplicationStateChange) {
    UpdateLockIndicators();
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetRecentFiles(const QStringList& files) {
  const QStringList names = RecentFileMenuNames(files);
  for (int i = 0; i < command::kRecentFileCount; ++i) {
    QAction* action = ActionFor(command::kFileMruFirst + i);
    if (i < files.size()) {
      // "&1 name": the digit is the mnemonic; an "&" in the name is doubled.
      QString name = names[i];
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name.replace('&', "&&")));
      action->setVisible(true);
    } else {
      action->setText(QStringLiteral("Recent File"));
      action->setVisible(i == 0);
    }
  }
  UpdateCommandStates();
}

}  // namespace mapvine
