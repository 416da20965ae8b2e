// Finding the link under a right click among 74,000 links:
//   BM_LinkHitTest/0   the click is on a line
//   BM_LinkHitTest/1   the click is on the background between lines
// The links join the neighbours of a 90-pixel grid, as placement lays
// nodes out, each end offset as parallel links are.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "model/CLinkList.h"
#include "model/CNode.h"

namespace {

using mapvine::CLink;

void BM_LinkHitTest(benchmark::State& state) {
  constexpr int kLinks = 74000;
  constexpr int kColumns = 200;
  constexpr int kGrid = 90;
  mapvine::CNode shownEnd;
  mapvine::OwningLinkList links;
  for (int i = 0; i < kLinks; ++i) {
    const int cell = i / 2;
    const int x = (cell % kColumns) * kGrid + 45;
    const int y = (cell / kColumns) * kGrid + 45;
    auto link = std::make_unique<CLink>();
    link->endA = link->endB = &shownEnd;
    link->x1 = x, link->y1 = y;
    // Every cell links right and down.
    link->x2 = i % 2 == 0 ? x + kGrid : x;
    link->y2 = i % 2 == 0 ? y : y + kGrid;
    link->UpdateBounds();
    links.Add(std::move(link));
  }
  // Half-way along a link in the middle of the list, or in the middle of
  // its grid cell.
  const int middleCell = kLinks / 4;
  const int x = (middleCell % kColumns) * kGrid + 45 + kGrid / 2;
  const int y = (middleCell / kColumns) * kGrid + 45 + (state.range(0) == 0 ? 0 : kGrid / 2);
  for (auto _ : state) benchmark::DoNotOptimize(links.HitTest(x, y));
}

BENCHMARK(BM_LinkHitTest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
