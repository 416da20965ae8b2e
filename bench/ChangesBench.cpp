// The comparison of a picture before and after a refresh, beside the
// refresh pass itself, on the network of `snanode-gen --resources 100000
// --seed 1`. The comparison must stay within 5% of the pass:
//   BM_FirstRefreshPass / BM_FirstComparison    an empty picture filled:
//                                               everything is new
//   BM_SecondRefreshPass / BM_SecondComparison  the same network again:
//                                               nothing changed
#include <benchmark/benchmark.h>

#include <memory>

#include "model/ChangeComparison.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

using mapvine::CMapvineDoc;

constexpr std::size_t kResources = 100000;

struct ServedNetwork {
  ServedNetwork()
      : node(snanode::GenerateNetwork(kResources, 1)),
        snaCtl([this](void* block, std::uint32_t length) { node.Call(block, length); }) {}
  snanode::SimulatedNode node;
  mapvine::SnaCtlFunction snaCtl;
};

ServedNetwork& Network() {
  static ServedNetwork network;
  return network;
}

std::unique_ptr<CMapvineDoc> NewPicture() {
  auto doc = std::make_unique<CMapvineDoc>();
  doc->NewDocument();
  return doc;
}

void BM_FirstRefreshPass(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = NewPicture();
    state.ResumeTiming();
    mapvine::dorefresh(*doc, Network().snaCtl);
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}

void BM_FirstComparison(benchmark::State& state) {
  auto doc = NewPicture();
  // The worst case: an empty saved picture opened, so everything is new.
  doc->SetBaseline();
  const mapvine::PictureSnapshot empty(*doc);
  mapvine::dorefresh(*doc, Network().snaCtl);
  for (auto _ : state) benchmark::DoNotOptimize(empty.Compare(*doc, true));
}

void BM_SecondRefreshPass(benchmark::State& state) {
  auto doc = NewPicture();
  mapvine::dorefresh(*doc, Network().snaCtl);
  for (auto _ : state) mapvine::dorefresh(*doc, Network().snaCtl);
}

// Snapshot and comparison, as every refresh takes them.
void BM_SecondComparison(benchmark::State& state) {
  auto doc = NewPicture();
  mapvine::dorefresh(*doc, Network().snaCtl);
  for (auto _ : state) {
    const mapvine::PictureSnapshot before(*doc);
    benchmark::DoNotOptimize(before.Compare(*doc, true));
  }
}

BENCHMARK(BM_FirstRefreshPass)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FirstComparison)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SecondRefreshPass)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SecondComparison)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
