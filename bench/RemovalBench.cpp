// Deleting a node that lists many links from a large picture:
//   BM_DeleteHubNode/K   a hub with K links to nodes of its own, among
//                        100,000 links between other nodes
// Each iteration builds the picture (not timed) and deletes the hub.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "model/MapvineDoc.h"

namespace {

using mapvine::CMapvineDoc;
using mapvine::CNode;

constexpr int kOtherLinks = 100000;

CNode& AddNode(CMapvineDoc& doc, int serial) {
  auto node = std::make_unique<CNode>();
  node->label = "NODE" + std::to_string(serial);
  return doc.InsertNode(std::move(node));
}

void BM_DeleteHubNode(benchmark::State& state) {
  const auto hubLinks = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<CMapvineDoc>();
    CNode& hub = AddNode(*doc, 0);
    for (int i = 1; i <= hubLinks; ++i) doc->NewLink(hub, AddNode(*doc, i));
    // The rest of the picture: pairs of nodes, ten links each.
    for (int i = 0; i < kOtherLinks / 10; ++i) {
      CNode& a = AddNode(*doc, hubLinks + 1 + 2 * i);
      CNode& b = AddNode(*doc, hubLinks + 2 + 2 * i);
      for (int j = 0; j < 10; ++j) doc->NewLink(a, b);
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(doc->RemoveNode(hub));
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_DeleteHubNode)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
