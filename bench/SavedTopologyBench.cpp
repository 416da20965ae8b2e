// Saving and opening a 5,000-node picture, each against a plain copy of the
// same number of bytes in the same run: storing into a VectorSink against
// copying the stored bytes into a new vector, loading from memory against
// the same copy. The load includes everything an open does after reading
// the file: rejoining the links, rebuilding the images and palette and
// composing the whole picture.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/UserPrompts.h"
#include "model/SavedTopology.h"

namespace mapvine {
namespace {

constexpr int kNodes = 5000;

// Network nodes in a chain of TGs, placed by the document as a refresh
// would place them.
CMapvineDoc& Picture() {
  static CMapvineDoc doc;
  static const bool built = [] {
    doc.NewDocument();
    doc.DeferComposition(true);
    for (int i = 0; i < kNodes; ++i) {
      const std::string name = "NN" + std::to_string(i);
      doc.NewNode(name, "NETA." + name, i % 4 + 1, nullptr, nullptr);
      if (i > 0) doc.NewLink("NN" + std::to_string(i - 1), name, 1, 21, nullptr);
    }
    doc.FinishDeferredComposition();
    return true;
  }();
  (void)built;
  return doc;
}

const std::vector<std::uint8_t>& StoredPicture() {
  static const std::vector<std::uint8_t> bytes = [] {
    VectorSink sink;
    StoreTopology(Picture(), sink);
    return sink.Take();
  }();
  return bytes;
}

double Seconds(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A plain copy of the stored bytes into a new buffer.
double CopySeconds() {
  const auto& bytes = StoredPicture();
  return Seconds([&] {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    benchmark::DoNotOptimize(copy.data());
  });
}

void BM_StoreTopology(benchmark::State& state) {
  const CMapvineDoc& doc = Picture();
  double store = 0, copy = 0;
  for (auto _ : state) {
    store += Seconds([&] {
      VectorSink sink;
      if (!StoreTopology(doc, sink)) state.SkipWithError("store failed");
      benchmark::DoNotOptimize(sink.Bytes().data());
    });
    state.PauseTiming();
    copy += CopySeconds();
    state.ResumeTiming();
  }
  state.counters["bytes"] = static_cast<double>(StoredPicture().size());
  // Store time over plain-copy time, measured side by side; must stay <= 3.
  state.counters["x_copy"] = store / copy;
}
BENCHMARK(BM_StoreTopology)->Unit(benchmark::kMillisecond);

void BM_LoadTopology(benchmark::State& state) {
  const auto& bytes = StoredPicture();
  CMapvineDoc doc;
  double load = 0, copy = 0;
  for (auto _ : state) {
    load += Seconds([&] {
      if (LoadTopology(doc, bytes) != LoadOutcome::Loaded) state.SkipWithError("load failed");
    });
    state.PauseTiming();
    copy += CopySeconds();
    state.ResumeTiming();
  }
  state.counters["nodes"] = static_cast<double>(doc.Nodes().size());
  state.counters["canvas_px"] =
      static_cast<double>(doc.picture.composedWidth) * doc.picture.composedHeight;
  // Load time over plain-copy time, measured side by side; must stay <= 3.
  state.counters["x_copy"] = load / copy;
}
BENCHMARK(BM_LoadTopology)->Unit(benchmark::kMillisecond);

void BM_PlainCopy(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(CopySeconds());
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mapvine

BENCHMARK_MAIN();
