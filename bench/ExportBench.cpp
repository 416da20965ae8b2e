// Each export format on the 100,000-resource picture of `snanode-gen
// --resources 100000 --seed 1` (about 71,000 nodes and 89,000 links), as
// `mapvine --refresh --export FILE` writes it: a document no window shows,
// refreshed from the simulated node, written through a temporary file in
// /tmp and renamed. The counter `bytes` is the size of the file written.
// PDF works its pages out on a second thread: its CPU time is the whole
// process's. BM_CollectPicture is the part File > Export... spends on the
// GUI thread: the copy of the picture a worker then writes (and frees).
// BM_StopTime asks each writer to stop at moments spread over its whole
// write, on a thread of its own as File > Export... runs it: the counter
// `worst_ms` is the longest any took from the ask to its end (wall time),
// `stopped` how many of the asks it heeded before it finished.
// Run from the build folder: build/bin/bench_export.
#include <benchmark/benchmark.h>

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "QtBenchmarkMain.h"
#include "export/ExportedPicture.h"
#include "export/PictureExport.h"
#include "refresh/RefreshCommand.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

using mapvine::ExportFormat;

struct LargePicture {
  LargePicture() {
    doc.SetHeadless(true);
    doc.NewDocument();
    const snanode::SimulatedNode node(snanode::GenerateNetwork(100000, 1));
    mapvine::RefreshCommand(doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
  }
  mapvine::CMapvineDoc doc;
};

LargePicture* largePicture = nullptr;

void BM_Export(benchmark::State& state, ExportFormat format, bool acrossPages, const std::string& path) {
  for (auto _ : state) {
    if (!mapvine::ExportPicture(largePicture->doc, path, format, {.pdfAcrossPages = acrossPages})) {
      state.SkipWithError("the export failed");
      return;
    }
  }
  state.counters["bytes"] = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
  state.counters["nodes"] = static_cast<double>(largePicture->doc.Nodes().size());
  state.counters["links"] = static_cast<double>(largePicture->doc.Links().size());
}

void BM_CollectPicture(benchmark::State& state) {
  for (auto _ : state) {
    mapvine::ExportedPicture picture = mapvine::CollectPicture(largePicture->doc, false);
    benchmark::DoNotOptimize(picture.nodes.data());
    // The worker that writes the copy frees it, off the GUI thread.
    state.PauseTiming();
    picture = {};
    state.ResumeTiming();
  }
}

void BM_StopTime(benchmark::State& state, ExportFormat format, bool acrossPages, const std::string& path) {
  using Clock = std::chrono::steady_clock;
  const mapvine::ExportedPicture picture = mapvine::CollectPicture(largePicture->doc, false);
  const mapvine::ExportOptions options{.pdfAcrossPages = acrossPages};
  mapvine::WorkProgress whole;
  const Clock::time_point started = Clock::now();
  mapvine::WritePicture(picture, path, format, options, whole);
  const Clock::duration length = Clock::now() - started;
  constexpr int kMoments = 8;
  double worst = 0;
  int stopped = 0;
  for (auto _ : state) {
    for (int moment = 0; moment < kMoments; ++moment) {
      mapvine::WorkProgress progress;
      mapvine::ExportOutcome outcome = mapvine::ExportOutcome::Failed;
      std::thread writer([&] { outcome = mapvine::WritePicture(picture, path, format, options, progress); });
      std::this_thread::sleep_for(length * moment / kMoments);
      const Clock::time_point asked = Clock::now();
      progress.stopRequested = true;
      writer.join();
      worst = std::max(worst, std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
      stopped += outcome == mapvine::ExportOutcome::Stopped;
    }
  }
  state.counters["worst_ms"] = worst;
  state.counters["stopped"] = stopped;
}

BENCHMARK(BM_CollectPicture)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_Export, svg, ExportFormat::Svg, false, "/tmp/mapvine-bench-export.svg")
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_Export, pdf_one_page, ExportFormat::Pdf, false, "/tmp/mapvine-bench-export.pdf")
    ->Unit(benchmark::kMillisecond)->Iterations(2)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Export, pdf_across_pages, ExportFormat::Pdf, true, "/tmp/mapvine-bench-export-pages.pdf")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Export, graphml, ExportFormat::GraphMl, false, "/tmp/mapvine-bench-export.graphml")
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_Export, dot, ExportFormat::Dot, false, "/tmp/mapvine-bench-export.dot")
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_Export, json, ExportFormat::Json, false, "/tmp/mapvine-bench-export.json")
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_StopTime, svg, ExportFormat::Svg, false, "/tmp/mapvine-bench-export.svg")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_StopTime, pdf_one_page, ExportFormat::Pdf, false, "/tmp/mapvine-bench-export.pdf")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_StopTime, pdf_across_pages, ExportFormat::Pdf, true, "/tmp/mapvine-bench-export-pages.pdf")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_StopTime, graphml, ExportFormat::GraphMl, false, "/tmp/mapvine-bench-export.graphml")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_StopTime, dot, ExportFormat::Dot, false, "/tmp/mapvine-bench-export.dot")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_StopTime, json, ExportFormat::Json, false, "/tmp/mapvine-bench-export.json")
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return mapvine::RunWidgetBenchmarks(argc, argv, largePicture); }
