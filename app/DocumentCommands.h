#pragma once

#include <QString>
#include <functional>

#include "app/DocumentFile.h"
#include "model/MapvineDoc.h"
#include "history/RefreshHistory.h"
#include "refresh/RefreshNotices.h"
#include "refresh/RefreshProgress.h"
#include "protocol/SnaLibrary.h"
#include "view/CommandTarget.h"

namespace mapvine {

// The answer to "Save changes to ...?".
enum class SaveChoice { Yes, No, Cancel };

// The document's commands: refresh, tile, add a node by hand, the trace
// toggle, the view settings, a new background image, the icons of a node,
// save and save as.
class DocumentCommands final : public CommandTarget {
 public:
  // Without a loaded node library everything but Refresh works, and Refresh
  // says why it cannot.
  DocumentCommands(CMapvineDoc& doc, SnaLibrary node, DocumentFile& file);

  bool OnCommand(int id) override;
  std::optional<CommandState> CommandStateOf(int id) const override;

  // Refreshes the picture and tells the person how the node answered; true
  // when it answered every query.
  bool Refresh(RefreshTrigger trigger);

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
  std::function<CSprite*()> selectedNode;
  // Called after every refresh that ran, with the document's lastChanges set
  // and, when there is a history, the refresh recorded in it.
  std::function<void()> refreshed;
  // Called before the picture is written to a file (the window shows
  // today's picture again, not a past one).
  std::function<void()> beforeSave;
  // Where each refresh's comparison goes once it is ready; none keeps no history.
  RefreshHistory* history = nullptr;
  // Where a refresh shows its progress; none until the main window installs
  // it.
  RefreshProgress* progress = nullptr;

 private:
  void SetIcon(CSprite& node, int id);
  // The "View Settings" dialog; switching auto refresh on refreshes at once.
  void EditSettings();

  CMapvineDoc& doc_;
  SnaLibrary node_;
  RefreshNotices notices_;
  DocumentFile& file_;
  // A refresh shows its progress and so handles events: a timer tick then
  // must not start another.
  bool refreshing_ = false;
};

}  // namespace mapvine
