#pragma once

#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>

#include "model/DocumentEdit.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// The picture's undo history: each edit a person makes is recorded between
// Begin and End as what it changed, and Qt's undo stack runs it back and
// forth. Refreshes are not edits and are not recorded; the recorded edits
// name their nodes, so a refresh in between leaves them usable.
class EditHistory {
 public:
  // `forgetPicks` runs before an undo or redo changes the document: the
  // window must let go of any node or link it points at.
  EditHistory(CMapvineDoc& doc, std::function<void()> forgetPicks);

  // Edits may nest (a command that runs another); the outermost is recorded.
  void Begin(bool withBackground);
  // Records the edit under `name` when it changed anything.
  void End(const QString& name);
  void Clear() { stack_.clear(); }
  // An edit is being made (between Begin and End, as during a drag).
  bool Open() const { return depth_ > 0; }

  QUndoStack& Stack() { return stack_; }
  const QUndoStack& Stack() const { return stack_; }

 private:
  CMapvineDoc& doc_;
  std::function<void()> forgetPicks_;
  QUndoStack stack_;
  int depth_ = 0;
  std::optional<EditBaseline> before_;
};

// The undoable edit a command makes, by its name in the Edit menu; none for
// commands that change no picture (or that only a refresh changes).
struct UndoableCommand {
  const char* name;
  bool changesBackground;
};
std::optional<UndoableCommand> UndoableCommandOf(int id);

}  // namespace mapvine
