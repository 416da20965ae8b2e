#include "app/ArrangeCommand.h"

#include <memory>
#include <string>

#include "view/CommandIds.h"

namespace mapvine {

// What a worker works on and leaves behind, shared with the worker, so
// that one the command stopped waiting for never touches freed memory.
struct ArrangeCommand::Work {
  CapturedPicture captured;
  std::optional<Arrangement> result;
};

ArrangeCommand::ArrangeCommand(CMapvineDoc& doc, EditHistory& edits, StatusProgress& progress, Layout layout)
    : doc_(doc),
      edits_(edits),
      progress_(progress),
      layout_(std::move(layout)),
      run_(progress, BackgroundRun::OnStop::LetGo) {}

ArrangeCommand::~ArrangeCommand() = default;

void ArrangeCommand::BindCommands(CommandBindings& commands) {
  // Not while a refresh (which shows the same progress) changes the picture.
  commands.Bind(command::kArrangeByConnections, [this] { Start(); }, [this] {
    return CommandState{.enabled = !Running() && !progress_.Running() && doc_.Nodes().size() > 0, .checked = false};
  });
  commands.Bind(
      command::kPlaceNewNearNeighbours,
      [this] {
        doc_.placeNewNearNeighbours = !doc_.placeNewNearNeighbours;
        doc_.SetModified(true);
      },
      [this] { return CommandState{.enabled = doc_.arranged, .checked = doc_.arranged && doc_.placeNewNearNeighbours}; });
}

void ArrangeCommand::Start() {
  auto work = std::make_shared<Work>();
  work->captured = CapturePicture(doc_);
  run_.Start(
      "Arrange",
      [work, layout = layout_](WorkProgress& progress) { work->result = layout(work->captured.graph, progress); },
      [this, work](BackgroundRun::End end) { Finish(*work, end); });
}

void ArrangeCommand::Finish(const Work& work, BackgroundRun::End end) {
  // An arrangement that came back just as the person asked to stop is
  // dropped all the same: they asked for the picture as it was.
  if (end != BackgroundRun::End::Finished) {
    doc_.ShowStatusText("Arrange stopped; the picture is unchanged");
  } else if (!work.result) {
    doc_.ShowStatusText("The picture could not be arranged");
  } else {
    edits_.Begin(true);
    ApplyArrangement(doc_, work.captured, *work.result);
    edits_.End(QString::fromUtf8(kEditName));
    doc_.ShowStatusText("Arranged " + std::to_string(work.captured.nodes.size()) + " nodes by their connections");
  }
  if (finished) finished();
}

}  // namespace mapvine
