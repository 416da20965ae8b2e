// Saving and opening a 5,000-node picture, each against a plain copy of the
// same number of bytes in the same run (the x_copy counters):
// - store: into a vector reserved to the file's size, against one copy of
//   the stored bytes into such a vector (both pay the same allocation, so
//   the ratio is the writer's own work);
// - load: from memory, against copying the bytes into a new vector;
// - open: OpenTopologyFile on a file in /tmp, against reading that file
//   into a vector.
// A load does everything an open does after reading the file: it destroys
// the previous picture, rejoins the links, rebuilds the images and palette
// and lays the background out on the canvas.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/SavedTopology.h"

namespace mapvine {
namespace {

constexpr int kNodes = 5000;

// Network nodes in a chain of TGs, placed by the document as a refresh
// would place them. With `grow` the picture grows to hold them all (about
// 6,450 x 6,450 pixels); without, it keeps its 520 x 320 canvas and the
// placement wraps, so that loading it is almost only reading the file.
std::unique_ptr<CMapvineDoc> BuildPicture(bool grow) {
  auto doc = std::make_unique<CMapvineDoc>();
  doc->NewDocument();
  doc->settings.autoGrow = grow;
  doc->DeferComposition(true);
  for (int i = 0; i < kNodes; ++i) {
    const std::string name = "NN" + std::to_string(i);
    doc->NewNode(name, "NETA." + name, i % 4 + 1, nullptr, nullptr);
    if (i > 0) doc->NewLink("NN" + std::to_string(i - 1), name, 1, 21, nullptr);
  }
  doc->FinishDeferredComposition();
  return doc;
}

struct StoredPicture {
  std::unique_ptr<CMapvineDoc> doc;
  std::vector<std::uint8_t> bytes;
  explicit StoredPicture(bool grow) : doc(BuildPicture(grow)) {
    VectorSink sink;
    StoreTopology(*doc, sink);
    bytes = sink.Take();
  }
};

const StoredPicture& Grown() {
  static const StoredPicture picture(true);
  return picture;
}

const StoredPicture& Compact() {
  static const StoredPicture picture(false);
  return picture;
}

double Seconds(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A plain copy of the stored bytes into a new buffer.
double CopySeconds(const std::vector<std::uint8_t>& bytes) {
  return Seconds([&] {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    benchmark::DoNotOptimize(copy.data());
  });
}

// Appends to a vector reserved beforehand.
class ReservedSink final : public ByteSink {
 public:
  explicit ReservedSink(std::size_t size) { bytes_.reserve(size); }
  bool Write(std::span<const std::uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return true;
  }
  const std::uint8_t* Data() const { return bytes_.data(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

void Store(benchmark::State& state, const StoredPicture& picture) {
  const std::size_t size = picture.bytes.size();
  double store = 0, copy = 0;
  for (auto _ : state) {
    store += Seconds([&] {
      ReservedSink sink(size);
      if (!StoreTopology(*picture.doc, sink)) state.SkipWithError("store failed");
      benchmark::DoNotOptimize(sink.Data());
    });
    state.PauseTiming();
    copy += Seconds([&] {
      ReservedSink sink(size);
      sink.Write(picture.bytes);
      benchmark::DoNotOptimize(sink.Data());
    });
    state.ResumeTiming();
  }
  state.counters["MB"] = static_cast<double>(size) / 1e6;
  state.counters["x_copy"] = store / copy;
}

void Load(benchmark::State& state, const StoredPicture& picture) {
  CMapvineDoc doc;
  double load = 0, copy = 0;
  for (auto _ : state) {
    load += Seconds([&] {
      if (LoadTopology(doc, picture.bytes) != LoadOutcome::Loaded) state.SkipWithError("load failed");
    });
    state.PauseTiming();
    copy += CopySeconds(picture.bytes);
    state.ResumeTiming();
  }
  state.counters["nodes"] = static_cast<double>(doc.Nodes().size());
  state.counters["canvas_Mpx"] =
      static_cast<double>(doc.picture.composedWidth) * doc.picture.composedHeight / 1e6;
  state.counters["x_copy"] = load / copy;
}

void Open(benchmark::State& state, const StoredPicture& picture) {
  const std::string path = "/tmp/mapvine-bench-" + std::to_string(picture.bytes.size()) + ".top";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(picture.bytes.data()),
             static_cast<std::streamsize>(picture.bytes.size()));
  CMapvineDoc doc;
  double open = 0, read = 0;
  for (auto _ : state) {
    open += Seconds([&] {
      if (OpenTopologyFile(doc, path) != LoadOutcome::Loaded || doc.Nodes().size() != kNodes) {
        state.SkipWithError("open failed");
      }
    });
    state.PauseTiming();
    read += Seconds([&] {
      std::ifstream in(path, std::ios::binary | std::ios::ate);
      std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
      in.seekg(0);
      in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      benchmark::DoNotOptimize(bytes.data());
    });
    state.ResumeTiming();
  }
  std::remove(path.c_str());
  state.counters["x_read"] = open / read;
}

void BM_StoreGrownPicture(benchmark::State& state) { Store(state, Grown()); }
BENCHMARK(BM_StoreGrownPicture)->Unit(benchmark::kMillisecond);

void BM_LoadGrownPicture(benchmark::State& state) { Load(state, Grown()); }
BENCHMARK(BM_LoadGrownPicture)->Unit(benchmark::kMillisecond);

void BM_OpenGrownPicture(benchmark::State& state) { Open(state, Grown()); }
BENCHMARK(BM_OpenGrownPicture)->Unit(benchmark::kMillisecond);

void BM_StoreCompactPicture(benchmark::State& state) { Store(state, Compact()); }
BENCHMARK(BM_StoreCompactPicture)->Unit(benchmark::kMillisecond);

void BM_LoadCompactPicture(benchmark::State& state) { Load(state, Compact()); }
BENCHMARK(BM_LoadCompactPicture)->Unit(benchmark::kMillisecond);

void BM_OpenCompactPicture(benchmark::State& state) { Open(state, Compact()); }
BENCHMARK(BM_OpenCompactPicture)->Unit(benchmark::kMillisecond);

void BM_PlainCopy(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(CopySeconds(Grown().bytes));
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mapvine

BENCHMARK_MAIN();
