#include "app/EditHistory.h"

#include <QSignalBlocker>
#include <QUndoCommand>

#include "view/CommandTable.h"

namespace mapvine {
namespace {

// One recorded edit. Qt redoes a command as it is pushed; this one was done
// already, by the person.
class RecordedEdit final : public QUndoCommand {
 public:
  RecordedEdit(const QString& name, DocumentEdit edit, CMapvineDoc& doc,
               const std::function<void()>& forgetPicks, EditHistory& history)
      : QUndoCommand(name), edit_(std::move(edit)), doc_(doc), forgetPicks_(forgetPicks), history_(history) {}

  void undo() override {
    history_.BeforeChange();
    if (forgetPicks_) forgetPicks_();
    edit_.Undo(doc_);
  }
  void redo() override {
    if (std::exchange(pushed_, true)) {
      history_.BeforeChange();
      if (forgetPicks_) forgetPicks_();
      edit_.Redo(doc_);
    }
  }

 private:
  DocumentEdit edit_;
  CMapvineDoc& doc_;
  std::function<void()> forgetPicks_;
  EditHistory& history_;
  bool pushed_ = false;
};

}  // namespace

EditHistory::EditHistory(CMapvineDoc& doc, std::function<void()> forgetPicks)
    : doc_(doc), forgetPicks_(std::move(forgetPicks)) {
  // Only the history's own changes move it; the window hears of them as it
  // does of every undo and redo.
  QObject::connect(&stack_, &QUndoStack::indexChanged, [this] { AfterChange(); });
}

void EditHistory::Clear() {
  // A new or opened picture says itself whether it is modified.
  const QSignalBlocker quiet(stack_);
  stack_.clear();
  accountedChanges_ = doc_.ChangeCount();
  changedElsewhereSinceSave_ = false;
}

void EditHistory::BeforeChange() {
  // Not modified is as saved (or as opened): the stack's state now is the
  // one to come back to.
  if (!doc_.IsModified()) {
    stack_.setClean();
    changedElsewhereSinceSave_ = false;
  } else if (doc_.ChangeCount() != accountedChanges_) {
    changedElsewhereSinceSave_ = true;
  }
}

void EditHistory::AfterChange() {
  doc_.SetModified(!stack_.isClean() || changedElsewhereSinceSave_);
  accountedChanges_ = doc_.ChangeCount();
}

void EditHistory::Begin(bool withBackground) {
  if (depth_++ > 0) return;
  BeforeChange();
  recording_.emplace(doc_, withBackground);
}

void EditHistory::End(const QString& name) {
  if (depth_ == 0 || --depth_ > 0 || !recording_) return;
  std::optional<DocumentEdit> edit = recording_->Finish();
  recording_.reset();
  if (edit) stack_.push(new RecordedEdit(name, std::move(*edit), doc_, forgetPicks_, *this));
  accountedChanges_ = doc_.ChangeCount();
}

std::optional<UndoableCommand> UndoableCommandOf(int id) {
  const CommandInfo* info = FindCommand(id);
  if (info == nullptr || info->undoName == nullptr) return std::nullopt;
  return UndoableCommand{info->undoName, info->changesBackground};
}

}  // namespace mapvine
