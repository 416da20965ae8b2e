// The "Changes" window beside the picture: every refresh adds what it
// changed, and a double-click locates the resource as Find does.
#include <QMenu>
#include <QMenuBar>

#include "app/MainFrame.h"
#include "app/ChangesDock.h"
#include "view/CommandTable.h"
#include "view/MapvineView.h"

namespace mapvine {

void CMainFrame::BuildChangesDock() {
  changesDock_ = new ChangesDock(this);
  addDockWidget(Qt::RightDockWidgetArea, changesDock_);
  changesDock_->hide();  // the picture keeps the whole window until asked
  QAction* toggle = changesDock_->toggleViewAction();
  toggle->setData(command::kChangesWindow);
  toggle->setStatusTip(QString::fromUtf8(FindCommand(command::kChangesWindow)->prompt));
  for (QAction* menu : menuBar()->actions()) {
    if (menu->text() == "&View" && menu->menu() != nullptr) menu->menu()->addAction(toggle);
  }
  connect(changesDock_, &ChangesDock::LocateRequested, view_,
          [this](const QString& name) { view_->Finder().LocateNode(name.toStdString()); });
  documentCommands_.refreshed = [this] { changesDock_->Add(doc_.lastChanges.Changes()); };
}

}  // namespace mapvine
