#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/DocumentFile.h"
#include "model/MapvineDoc.h"
#include "history/RefreshHistory.h"
#include "app/QtGuiThread.h"
#include "app/RefreshTimer.h"
#include "refresh/NodeWorker.h"
#include "refresh/RefreshNotices.h"
#include "refresh/RefreshProgress.h"
#include "refresh/RefreshRun.h"
#include "protocol/SnaLibrary.h"
#include "view/CommandBindings.h"

namespace mapvine {

// The answer to "Save changes to ...?".
enum class SaveChoice { Yes, No, Cancel };

// The document's commands: refresh, tile, add a node by hand, the trace
// toggle, the view settings, a new background image, the icons of a node,
// save and save as.
class DocumentCommands final {
 public:
  // Without a loaded node library everything but Refresh works, and Refresh
  // says why it cannot.
  DocumentCommands(CMapvineDoc& doc, SnaLibrary node, DocumentFile& file);
  ~DocumentCommands();

  // Binds each command named above.
  void BindCommands(CommandBindings& commands);

  // Starts a refresh of the picture; the window goes on meanwhile, and at
  // the end the person learns how the node answered. False when none could
  // start: one is running, or a verb of a stopped one is still outstanding.
  bool Refresh(RefreshTrigger trigger);
  // Refreshes and waits for the end, for a caller without a window; true
  // when the node answered every query.
  bool RefreshAndWait();
  // Ends the running refresh now (Stop, Escape).
  void StopRefresh();
  // The node stayed silent and the person chose to keep waiting.
  void KeepWaiting();
  bool Refreshing() const { return static_cast<bool>(run_); }
  // Ticks while auto refresh is on; the main window runs a refresh per tick.
  RefreshTimer& Timer() { return refreshTimer_; }
  // A verb is outstanding, perhaps of a refresh already stopped: no other
  // may start until the node answers it.
  bool NodeBusy() const { return worker_ && worker_->Outstanding() > 0; }
  // How many status checks run at once and how long each may take.
  StatusCheckLimits statusLimits;

  // Saves to the document's file, asking for a name when it has none.
  bool Save();
  // Asks for a name (the extension ".top" is added when none is typed).
  bool SaveAs();
  bool SaveTo(const QString& path);
  // Before the picture is replaced or the program ends: a modified document
  // is offered for saving. False when the user cancels or the save failed.
  bool SaveModified();

  // Asks "Save changes to NAME?"; the main window installs a message box.
  // Until then the question is answered No on standard error.
  std::function<SaveChoice(const QString& name)> askSaveChanges;
  // The node the icon commands act on (the one whose context menu was
  // opened); none until the main window installs it.
  std::function<CNode*()> selectedNode;
  // Called after every refresh that ran, with the document's lastChanges set
  // and, when there is a history, the refresh recorded in it.
  std::function<void()> refreshed;
  // Called before the picture is written to a file (the window shows
  // today's picture again, not a past one).
  std::function<void()> beforeSave;
  // Where each refresh's comparison goes once it is ready; none keeps no history.
  RefreshHistory* history = nullptr;
  // Called whenever a refresh starts or ends, or the node answers a verb
  // left outstanding: the commands a refresh blocks change their state.
  std::function<void()> refreshStateChanged;
  // Holds a refresh's answers back while it returns true (an edit is open).
  std::function<bool()> holdBackRefresh;
  // Where a refresh shows its progress; none until the main window installs
  // it.
  RefreshProgress* progress = nullptr;

 private:
  // The "View Settings" dialog; switching auto refresh on refreshes at once.
  void EditSettings();

  CMapvineDoc& doc_;
  RefreshTimer refreshTimer_{doc_};
  SnaLibrary node_;
  RefreshNotices notices_;
  DocumentFile& file_;
  // Around every refresh, however it runs: what the picture held before it,
  // and afterwards the new resources placed, the history told, and the
  // window's `refreshed` called.
  void Starting();
  void Finished();
  void Refreshed(const RefreshResult& result, RefreshTrigger trigger);
  void TellRefreshState() const;

  std::size_t placedBefore_ = 0;

  // Worker threads may outlive this object and post to the GUI thread
  // after it is gone: they share the poster, which is closed here first.
  std::shared_ptr<QtGuiThread> gui_;
  std::unique_ptr<NodeWorker> worker_;  // none without a node library
  std::unique_ptr<RefreshRun> run_;     // the running refresh
};

}  // namespace mapvine
