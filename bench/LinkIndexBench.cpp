// Indexing links that all join one pair of nodes, as a hand-made file may
// hold them, reported per link so that linear scaling shows as a flat line:
//   BM_IndexLinksOfOnePair/N/0   every link with a TG number of its own
//                                (beyond a byte from the 257th on)
//   BM_IndexLinksOfOnePair/N/1   TG numbers 0 to 255, over and over
// Each iteration adds the N links and then removes them again.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "model/LinkIndex.h"

namespace {

using mapvine::CLink;

void BM_IndexLinksOfOnePair(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  const bool repeatTgNumbers = state.range(1) != 0;
  std::vector<std::unique_ptr<CLink>> links;
  for (int i = 0; i < count; ++i) {
    auto link = std::make_unique<CLink>();
    link->ownerName = "NN00001";
    link->destinationName = "NN00002";
    link->tgNumber = repeatTgNumbers ? i % 256 : i;
    links.push_back(std::move(link));
  }
  for (auto _ : state) {
    mapvine::LinkIndex index;
    for (const auto& link : links) index.Add(*link);
    for (const auto& link : links) index.Remove(*link);
  }
  state.counters["per_link"] = benchmark::Counter(
      static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_IndexLinksOfOnePair)
    ->ArgsProduct({{1000, 16000, 64000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
