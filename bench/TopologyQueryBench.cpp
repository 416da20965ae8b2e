// QueryTopology and QueryDirectory against the in-process simulated node,
// for generated networks of growing size. The time per resource should stay
// flat: batches continue after a key, they do not rescan the list.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "protocol/DirectoryQuery.h"
#include "protocol/TopologyQuery.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

void TopologyAndDirectoryQuery(benchmark::State& state) {
  const auto resources = static_cast<std::size_t>(state.range(0));
  const snanode::SimulatedNode node(snanode::GenerateNetwork(resources, 7));
  const mapvine::SnaCtlFunction snaCtl = [&node](void* block, std::uint32_t length) { node.Call(block, length); };

  std::size_t records = 0;
  for (auto _ : state) {
    mapvine::TopologyTables tables;
    const bool ok = mapvine::QueryTopology(snaCtl, tables).Succeeded() &&
                    mapvine::QueryDirectory(snaCtl, tables).Succeeded();
    if (!ok) {
      state.SkipWithError("query failed");
      break;
    }
    records = tables.topology.size() + tables.lus.size();
    benchmark::DoNotOptimize(tables);
  }
  state.counters["records"] = static_cast<double>(records);
  // Seconds per resource (shown in the benchmark's time unit per resource).
  state.counters["per_resource"] = benchmark::Counter(
      static_cast<double>(resources), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(TopologyAndDirectoryQuery)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
