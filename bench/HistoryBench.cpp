// The change history's costs on large networks (snanode-gen --seed 1):
//   BM_RefreshPass/65536            a refresh of the 64k network, for scale
//   BM_HandOverRefresh/65536/N      what the GUI thread spends recording that
//                                   refresh when every Nth link changed (1%, and
//                                   all): learn the network, hand the shared
//                                   list to the writer and to the thread that
//                                   follows flapping (target: at most 5% of the
//                                   refresh)
//   BM_WriteRefresh/65536           the worker thread's write of those changes
//                                   (one transaction), off the GUI thread
//   BM_PrintMillionRows             mapvine --history over a million rows
//                                   (target: at most 1 s); counts the file size
//                                   and the lines printed
//   BM_ReplayAt100k                 showing the 100,000-resource picture at a
//                                   past time and back (target: at most 100 ms)
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <sstream>

#include "app/CommandLine.h"
#include "app/HistoryCommand.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/PictureReplay.h"
#include "history/RefreshHistory.h"
#include "model/ChangeComparison.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

using namespace mapvine;

struct Picture {
  explicit Picture(std::size_t resources)
      : node(snanode::GenerateNetwork(resources, 1)),
        snaCtl([this](void* block, std::uint32_t length) { node.Call(block, length); }) {
    doc.NewDocument();
    dorefresh(doc, snaCtl);
  }
  snanode::SimulatedNode node;
  SnaCtlFunction snaCtl;
  CMapvineDoc doc;
};

// Every `every`th link went inactive.
std::vector<TopologyChange> LinksChanged(const CMapvineDoc& doc, std::size_t every = 1) {
  std::vector<TopologyChange> changes;
  std::size_t index = 0;
  for (const auto& link : doc.Links()) {
    if (index++ % every != 0) continue;
    changes.push_back({ChangeMark::WentInactive, true, link->endA->fqName, link->endB->fqName, link->tgNumber});
  }
  return changes;
}

void BM_RefreshPass(benchmark::State& state) {
  Picture picture(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) dorefresh(picture.doc, picture.snaCtl);
}

void BM_HandOverRefresh(benchmark::State& state) {
  Picture picture(static_cast<std::size_t>(state.range(0)));
  picture.doc.lastChanges.shared = std::make_shared<const std::vector<TopologyChange>>(
      LinksChanged(picture.doc, static_cast<std::size_t>(state.range(1))));
  QTemporaryDir folder;
  HistoryRecorder recorder({folder.filePath("history.sqlite"), {}}, 0);
  RefreshHistory history(&recorder);
  HistoryTime when = 0;
  for (auto _ : state) {
    history.Starting();
    history.Finished(picture.doc, ++when);
    state.PauseTiming();
    recorder.Flush();  // the writes and flapping are other threads', not measured here
    history.Flush();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["changes"] = static_cast<double>(picture.doc.lastChanges.Changes().size());
}

void BM_WriteRefresh(benchmark::State& state) {
  Picture picture(static_cast<std::size_t>(state.range(0)));
  // Down, up, down...: every change is news to the history.
  std::vector<TopologyChange> changes[2] = {LinksChanged(picture.doc), LinksChanged(picture.doc)};
  for (TopologyChange& change : changes[1]) change.kind = ChangeMark::WentActive;
  QTemporaryDir folder;
  HistoryStore store({folder.filePath("history.sqlite"), {}});
  if (!store.Open()) state.SkipWithError("cannot open the history");
  HistoryTime when = 0;
  for (auto _ : state) {
    ++when;
    benchmark::DoNotOptimize(store.WriteRefresh({"NETG", "NN00001"}, when, changes[when % 2]));
  }
  state.counters["changes"] = static_cast<double>(changes[0].size());
}

void BM_PrintMillionRows(benchmark::State& state) {
  QTemporaryDir folder;
  const QString file = folder.filePath("history.sqlite");
  {
    // A thousand refreshes of a thousand changes each, among 20,000 resources.
    HistoryStore store({file, {}});
    if (!store.Open()) state.SkipWithError("cannot open the history");
    std::vector<TopologyChange> changes(1000);
    std::vector<int> turns(20000);  // each resource goes down and up in turn
    for (int refresh = 0; refresh < 1000; ++refresh) {
      for (int i = 0; i < 1000; ++i) {
        const int resource = (refresh * 7 + i * 13) % 20000;
        const bool up = turns[static_cast<std::size_t>(resource)]++ % 2 != 0;
        changes[static_cast<std::size_t>(i)] = {up ? ChangeMark::WentActive : ChangeMark::WentInactive,
                                                resource % 2 == 0, "NETG.NN" + std::to_string(resource),
                                                resource % 2 == 0 ? "NETG.NN" + std::to_string(resource + 1) : "",
                                                resource % 2 == 0 ? 21 : 0};
      }
      store.WriteRefresh({"NETG", "NN00001"}, 1'700'000'000'000 + refresh * 60'000LL, changes);
    }
  }
  CommandLine line;
  line.mode = CommandLine::Mode::History;
  line.historyDb = file.toStdString();
  std::size_t lines = 0;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    benchmark::DoNotOptimize(RunHistoryCommand(line, out, err));
    state.PauseTiming();
    const std::string text = out.str();
    lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    state.ResumeTiming();
  }
  state.counters["MB"] = static_cast<double>(QFileInfo(file).size()) / (1 << 20);
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_ReplayAt100k(benchmark::State& state) {
  Picture picture(100000);
  // A day of history: every tenth link changes status four times, and some
  // nodes come and go.
  std::vector<HistoryRow> rows;
  HistoryTime when = 0;
  std::size_t index = 0;
  for (const auto& link : picture.doc.Links()) {
    if (index++ % 10 != 0) continue;
    for (const ChangeMark kind : {ChangeMark::WentInactive, ChangeMark::WentActive, ChangeMark::WentInactive,
                                  ChangeMark::WentActive}) {
      rows.push_back({++when, 0, {kind, true, link->endA->fqName, link->endB->fqName, link->tgNumber}, false});
    }
  }
  index = 0;
  for (const CNode* node : picture.doc.NodesByArrival()) {
    if (index++ % 50 == 0) rows.push_back({++when, 0, {ChangeMark::New, false, node->fqName, {}, 0}, false});
  }
  PictureReplay replay;
  for (auto _ : state) {
    replay.Show(picture.doc, std::span(rows).subspan(rows.size() / 3));
    replay.Restore(picture.doc);
  }
  state.counters["rows"] = static_cast<double>(rows.size() * 2 / 3);
}

BENCHMARK(BM_RefreshPass)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();
// Each iteration waits, untimed, for the worker's write of up to 64k rows.
BENCHMARK(BM_HandOverRefresh)
    ->Args({65536, 100})
    ->Args({65536, 1})
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_WriteRefresh)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintMillionRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReplayAt100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// The database drivers are plugins, which only an application object loads.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
