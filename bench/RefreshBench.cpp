// One refresh pass (dorefresh) against the simulated node serving synthetic
// networks of 1k to 64k resources (nodes, LUs and TGs together). Reported
// per resource, so that linear scaling shows as a flat line:
//   BM_FirstRefresh/N/0   first refresh, picture growth switched off
//   BM_FirstRefresh/N/1   first refresh, the picture grows as nodes arrive
//                         (a document without a window: the grown picture's
//                         pixels are laid out when a view shows it)
//   BM_SecondRefresh/N    a refresh over a network already in the picture
#include <benchmark/benchmark.h>

#include <memory>

#include "model/MapvineDoc.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

using mapvine::CMapvineDoc;

struct ServedNetwork {
  explicit ServedNetwork(std::size_t resources)
      : node(snanode::GenerateNetwork(resources, 1)),
        snaCtl([this](void* block, std::uint32_t length) { node.Call(block, length); }) {}
  snanode::SimulatedNode node;
  mapvine::SnaCtlFunction snaCtl;
};

std::unique_ptr<CMapvineDoc> NewPicture(bool growth) {
  auto doc = std::make_unique<CMapvineDoc>();
  doc->NewDocument();
  doc->settings.autoGrow = growth;
  return doc;
}

void PerResource(benchmark::State& state, std::size_t resources) {
  state.counters["per_resource"] = benchmark::Counter(
      static_cast<double>(resources),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FirstRefresh(benchmark::State& state) {
  const auto resources = static_cast<std::size_t>(state.range(0));
  const bool growth = state.range(1) != 0;
  ServedNetwork network(resources);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = NewPicture(growth);
    state.ResumeTiming();
    mapvine::dorefresh(*doc, network.snaCtl);
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  PerResource(state, resources);
}

void BM_SecondRefresh(benchmark::State& state) {
  const auto resources = static_cast<std::size_t>(state.range(0));
  ServedNetwork network(resources);
  auto doc = NewPicture(true);
  mapvine::dorefresh(*doc, network.snaCtl);
  for (auto _ : state) mapvine::dorefresh(*doc, network.snaCtl);
  PerResource(state, resources);
}

// Several iterations even at 64k, so that the figures show steady refreshes
// rather than the first touch of fresh memory.
BENCHMARK(BM_FirstRefresh)
    ->ArgsProduct({{1000, 4000, 16000, 64000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK(BM_SecondRefresh)
    ->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
