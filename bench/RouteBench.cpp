// The shortest route across the picture of the 100,000-resource network of
// `snanode-gen --resources 100000 --seed 1`, after a first refresh:
//   BM_RouteAcross   from the first node of the picture to the last
// Building the picture is not timed.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/MapvineDoc.h"
#include "model/Route.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

void BM_RouteAcross(benchmark::State& state) {
  snanode::SimulatedNode node(snanode::GenerateNetwork(100000, 1));
  const mapvine::SnaCtlFunction snaCtl = [&node](void* block, std::uint32_t length) {
    node.Call(block, length);
  };
  mapvine::CMapvineDoc doc;
  doc.NewDocument();
  mapvine::dorefresh(doc, snaCtl);
  const mapvine::CNode& first = **doc.Nodes().begin();
  const mapvine::CNode& last = **std::prev(doc.Nodes().end());
  mapvine::Route route;
  for (auto _ : state) {
    route = mapvine::FindRoute(first, last);
    benchmark::DoNotOptimize(route);
  }
  state.counters["hops"] = route.Hops();
  state.counters["nodes"] = static_cast<double>(doc.Nodes().size());
  state.counters["broken"] = route.kind == mapvine::Route::Kind::Broken;
}

BENCHMARK(BM_RouteAcross)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
