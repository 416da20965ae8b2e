#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

#include "app/BackgroundRun.h"
#include "app/EditHistory.h"
#include "app/StatusProgress.h"
#include "layout/ArrangePicture.h"
#include "model/MapvineDoc.h"
#include "view/CommandBindings.h"

namespace mapvine {

// "Arrange by Connections": the picture is copied on the GUI thread, laid
// out on a worker while the window keeps painting and shows the progress
// with a Stop button, and the positions are applied back on the GUI thread
// as one undoable edit. Stop abandons the worker at once; it finishes its
// step in the background and its result is dropped. The layout library
// cannot be interrupted inside its own step, so on exit the command leaves
// a worker running without waiting: the worker owns everything it
// touches, and the process ending takes it along.
class ArrangeCommand final : public QObject {
  Q_OBJECT

 public:
  // How a picture is laid out; the real layout unless a test asks otherwise.
  using Layout = std::function<std::optional<Arrangement>(const ArrangeGraph&, ArrangeProgress&)>;

  ArrangeCommand(CMapvineDoc& doc, EditHistory& edits, StatusProgress& progress,
                 Layout layout = ComputeArrangement);
  ~ArrangeCommand() override;

  // Binds "Arrange by Connections" and "Place New Resources Near Neighbours".
  void BindCommands(CommandBindings& commands);

  // Whether an arrangement is being computed; the picture must not change
  // under it meanwhile.
  bool Running() const { return run_.Running(); }
  // The person asked to stop (the progress's Stop button or Escape): the
  // arrangement is dropped and the picture left as it is.
  void Stop() { run_.Stop(); }
  // Called when an arrangement was applied, stopped or failed.
  std::function<void()> finished;

  static constexpr const char* kEditName = "Arrange by Connections";

 private:
  struct Work;
  void Start();
  void Finish(const Work& work, BackgroundRun::End end);

  CMapvineDoc& doc_;
  EditHistory& edits_;
  StatusProgress& progress_;
  Layout layout_;
  BackgroundRun run_;
};

}  // namespace mapvine
