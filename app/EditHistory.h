#pragma once

#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <optional>

#include "model/DocumentEdit.h"
#include "model/EditRecording.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// The picture's undo history: each edit a person makes is recorded between
// Begin and End as what it changed, and Qt's undo stack runs it back and
// forth. Refreshes are not edits and are not recorded; the recorded edits
// name their nodes, so a refresh in between leaves them usable.
// An undo or redo that returns to the picture as last saved (the stack's
// clean state) leaves it not modified, unless something the history did not
// record (a refresh, the settings) changed it since the save.
class EditHistory {
 public:
  // `forgetPicks` runs before an undo or redo changes the document: the
  // window must let go of any node or link it points at.
  EditHistory(CMapvineDoc& doc, std::function<void()> forgetPicks);

  // Edits may nest (a command that runs another); the outermost is recorded.
  void Begin(bool withBackground);
  // Records the edit under `name` when it changed anything.
  void End(const QString& name);
  void Clear();
  // An edit is being made (between Begin and End, as during a drag).
  bool Open() const { return depth_ > 0; }

  QUndoStack& Stack() { return stack_; }
  const QUndoStack& Stack() const { return stack_; }

  // Before an edit begins, is undone or redone: notes a save, or a change
  // made elsewhere, since the history last acted.
  void BeforeChange();

 private:
  // After an edit is recorded, undone or redone: modified unless the
  // picture is back as saved.
  void AfterChange();

  CMapvineDoc& doc_;
  std::function<void()> forgetPicks_;
  QUndoStack stack_;
  int depth_ = 0;
  std::optional<EditRecording> recording_;
  // The document's change count when the history last made or recorded a
  // change: any count beyond it is a change from elsewhere.
  std::uint64_t accountedChanges_ = 0;
  bool changedElsewhereSinceSave_ = false;
};

// The undoable edit a command makes, by its name in the Edit menu; none for
// commands that change no picture (or that only a refresh changes).
struct UndoableCommand {
  const char* name;
  bool changesBackground;
};
std::optional<UndoableCommand> UndoableCommandOf(int id);

}  // namespace mapvine
