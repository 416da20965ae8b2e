// What recording one edit costs on a large picture, as every drag and menu
// edit pays, and undoing it: both should cost what the edit touched, not
// what the picture holds.
//   BM_RecordMove/N   N nodes, each linked to the next, one node moved
//   BM_UndoMove/N     the same move undone
//   BM_RecordHideAll/N   every node hidden in one edit, as Show
//                     Neighbourhood hides nearly all of a large picture
//   BM_UndoHideAll/N  that edit undone and redone
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "model/EditRecording.h"
#include "model/NodeVisibility.h"

namespace {

using mapvine::CMapvineDoc;
using mapvine::CNode;

std::unique_ptr<CMapvineDoc> Picture(int nodes) {
  auto doc = std::make_unique<CMapvineDoc>();
  CNode* previous = nullptr;
  for (int i = 0; i < nodes; ++i) {
    auto node = std::make_unique<CNode>();
    node->label = "NODE" + std::to_string(i);
    node->fqName = "NETA." + node->label;
    CNode& added = doc->InsertNode(std::move(node));
    if (previous) doc->NewLink(*previous, added);
    previous = &added;
  }
  return doc;
}

void BM_RecordMove(benchmark::State& state) {
  const auto doc = Picture(static_cast<int>(state.range(0)));
  CNode& moved = **doc->Nodes().begin();
  int step = 0;
  for (auto _ : state) {
    mapvine::EditRecording recording(*doc, false);
    doc->NodeChanging(moved);
    moved.SetPosition(++step % 500, 10);
    benchmark::DoNotOptimize(recording.Finish());
  }
}

void BM_UndoMove(benchmark::State& state) {
  const auto doc = Picture(static_cast<int>(state.range(0)));
  CNode& moved = **doc->Nodes().begin();
  mapvine::EditRecording recording(*doc, false);
  doc->NodeChanging(moved);
  moved.SetPosition(300, 10);
  const auto edit = recording.Finish();
  for (auto _ : state) {
    edit->Undo(*doc);
    edit->Redo(*doc);
  }
}

// Hides (or shows) every node, as the document's commands do.
void SetAllHidden(CMapvineDoc& doc, bool hidden) {
  mapvine::VisibilityChange change(doc);
  for (const auto& node : doc.Nodes()) change.Set(*node, hidden);
  change.Finish();
}

void BM_RecordHideAll(benchmark::State& state) {
  const auto doc = Picture(static_cast<int>(state.range(0)));
  bool hidden = false;
  for (auto _ : state) {
    hidden = !hidden;
    mapvine::EditRecording recording(*doc, false);
    SetAllHidden(*doc, hidden);
    benchmark::DoNotOptimize(recording.Finish());
  }
}

void BM_UndoHideAll(benchmark::State& state) {
  const auto doc = Picture(static_cast<int>(state.range(0)));
  mapvine::EditRecording recording(*doc, false);
  SetAllHidden(*doc, true);
  const auto edit = recording.Finish();
  for (auto _ : state) {
    edit->Undo(*doc);
    edit->Redo(*doc);
  }
}

BENCHMARK(BM_RecordMove)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMove)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordHideAll)->Arg(1000)->Arg(70000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoHideAll)->Arg(1000)->Arg(70000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
