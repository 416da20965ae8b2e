#pragma once

#include <QDialog>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

#include "app/ArrangeCommand.h"
#include "app/DocumentCommands.h"
#include "app/EditHistory.h"
#include "app/ExportCommand.h"
#include "app/LockKeys.h"
#include "app/StatusProgress.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"
#include "view/CommandBindings.h"

class QAction;
class QLabel;
class QMenu;

namespace mapvine {

class CMapvineView;
class ChangesDock;
class StatusMessage;

// The main window: the menu, the toolbar, the accelerators, the status bar
// whose first pane carries the document's status texts, and the topology
// view in the middle. Every command goes through Route to the handler its
// owner bound: the view, the document's commands, the arrangement, this
// frame (help, export, undo) or the application.
class CMainFrame final : public QMainWindow, public StatusLine {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Kelvra Tarnwell Topology";
  static constexpr const char* kIdleText = "For Help, press F1";

  CMainFrame(CMapvineDoc& doc, DocumentCommands& documentCommands, CommandOwner& application);
  ~CMainFrame() override;

  CMapvineView& View() const { return *view_; }
  ChangesDock& ChangesWindow() const { return *changesDock_; }

  // Runs the command unless a refresh or its state keeps it from running;
  // true when it ran (or the status bar says why it cannot now).
  bool Route(int id);
  // Brings every item's enabled and checked state up to date.
  void UpdateCommandStates();
  // The action that carries the command (menu item, toolbar button, keys).
  QAction* ActionFor(int id) const { return actions_.value(id); }

  // "<document name> - Kelvra Tarnwell Topology", marked while modified.
  void SetDocumentName(const QString& name);
  // What Undo and Redo run through; a new or opened picture starts it anew.
  EditHistory& Edits() { return edits_; }
  // The progress bar and Stop button a refresh, an arrangement or an
  // export shows.
  StatusProgress& Progress() const { return *progress_; }
  // Fills the recent-file items; "Recent File", greyed, while there is none.
  void SetRecentFiles(const QStringList& files);

  // StatusLine: the first pane, painted at once.
  void SetStatusText(std::string_view text) override;
  QString StatusText() const;

  // Every command's handler and state, as the window's parts bound them.
  const CommandBindings& Bindings() const { return commands_; }

  // The export being written, if any.
  ExportCommand& Export() const { return *export_; }

  // The help window, once F1 or "Help Topics" has opened it.
  QDialog* HelpWindow() const { return helpWindow_; }

  // How the lock keys are read; none leaves every lock indicator blank.
  std::function<std::optional<LockKeyState>()> readLockKeys = ReadLockKeys;
  // Shows "CAP", "NUM" and "SCRL" each only while its lock is on.
  void UpdateLockIndicators();

 protected:
  bool event(QEvent* event) override;
  // Watches every key the program receives, for the lock indicators.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildAccelerators();
  void BuildToolBar();
  void BuildStatusBar();
  // The "Changes" window, hidden at first, with its toggle in the View menu.
  void BuildChangesDock();
  // The zoom pane: the factor, and whether the picture is fitted.
  void ShowZoom(double zoom, bool fitted);
  QAction* ActionOf(int id);
  // File > Export...: asks for a file and a format, and starts writing the
  // picture.
  void ExportFromDialog();
  // Why the command cannot run now, when a refresh keeps it from running.
  const char* WhyBlocked(int id) const;
  void ShowHelp();
  void ShowAbout();
  // Binds help, about, export, undo and redo.
  void BindCommands(CommandBindings& commands);

  CMapvineDoc& doc_;
  DocumentCommands& documentCommands_;
  CMapvineView* view_;  // owned by Qt as the central widget
  ChangesDock* changesDock_ = nullptr;  // owned by Qt
  StatusMessage* statusMessage_ = nullptr;  // owned by the status bar
  CommandBindings commands_;
  EditHistory edits_;
  std::unique_ptr<StatusProgress> progress_;
  std::unique_ptr<ArrangeCommand> arrange_;
  std::unique_ptr<ExportCommand> export_;
  QHash<int, QAction*> actions_;
  QPointer<QDialog> helpWindow_;
};

}  // namespace mapvine
