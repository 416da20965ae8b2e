// The 100,000-resource network of `snanode-gen --resources 100000 --seed 1`
// (about 71,000 nodes and 89,000 links, a 270 MB saved picture), as a
// script's `mapvine --refresh --save` and a later open handle it: a
// document that no window shows, refreshed from the simulated node.
//   BM_RefreshAndSave  a new picture, the Refresh command, and the save to
//                      a file in /tmp; x_write is against writing the same
//                      number of bytes to a file there (both flushed to disk)
//   BM_Save            saving the refreshed picture alone, against the same
//                      plain write
//   BM_Open            opening the saved file until the document is ready to
//                      show, against reading the file into memory
// Run from the build folder: build/bin/bench_large_picture_file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "model/SavedTopology.h"
#include "refresh/RefreshCommand.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace mapvine {
namespace {

constexpr std::size_t kResources = 100000;
const std::string kSavedPath = "/tmp/mapvine-bench-large.top";
const std::string kPlainPath = "/tmp/mapvine-bench-large.plain";

double Seconds(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::unique_ptr<CMapvineDoc> HeadlessPicture() {
  auto doc = std::make_unique<CMapvineDoc>();
  doc->SetHeadless(true);
  doc->NewDocument();
  return doc;
}

struct LargeNetwork {
  LargeNetwork() : node(snanode::GenerateNetwork(kResources, 1)) {
    snaCtl = [this](void* block, std::uint32_t length) { node.Call(block, length); };
    picture = HeadlessPicture();
    RefreshCommand(*picture, snaCtl);
    VectorSink sink;
    StoreTopology(*picture, sink);
    bytes = sink.Take();
  }
  snanode::SimulatedNode node;
  SnaCtlFunction snaCtl;
  std::unique_ptr<CMapvineDoc> picture;
  std::vector<std::uint8_t> bytes;  // the picture as saved
};

LargeNetwork& Network() {
  static LargeNetwork network;
  return network;
}

// The stored bytes written to a new file in 64 KB blocks (as a save writes
// them) and flushed to disk.
void WritePlainFile(const std::vector<std::uint8_t>& bytes) {
  const int fd = ::open(kPlainPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  constexpr std::size_t kBlock = 1 << 16;
  for (std::size_t at = 0; fd >= 0 && at < bytes.size(); at += kBlock) {
    const std::size_t size = std::min(kBlock, bytes.size() - at);
    if (::write(fd, bytes.data() + at, size) != static_cast<ssize_t>(size)) break;
  }
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

std::vector<std::uint8_t> ReadPlainFile(const std::string& path, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::size_t filled = 0;
  while (fd >= 0 && filled < size) {
    const ssize_t got = ::read(fd, bytes.data() + filled, size - filled);
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  if (fd >= 0) ::close(fd);
  return bytes;
}

void Describe(benchmark::State& state, const CMapvineDoc& doc, std::size_t bytes) {
  state.counters["nodes"] = static_cast<double>(doc.Nodes().size());
  state.counters["links"] = static_cast<double>(doc.Links().size());
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_RefreshAndSave(benchmark::State& state) {
  LargeNetwork& network = Network();
  double run = 0, plain = 0;
  for (auto _ : state) {
    const double seconds = Seconds([&] {
      auto doc = HeadlessPicture();
      RefreshCommand(*doc, network.snaCtl);
      if (!SaveTopologyFile(*doc, kSavedPath)) state.SkipWithError("save failed");
    });
    state.SetIterationTime(seconds);
    run += seconds;
    plain += Seconds([&] { WritePlainFile(network.bytes); });
  }
  Describe(state, *network.picture, network.bytes.size());
  state.counters["x_write"] = run / plain;
}
BENCHMARK(BM_RefreshAndSave)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_Save(benchmark::State& state) {
  LargeNetwork& network = Network();
  double save = 0, plain = 0;
  for (auto _ : state) {
    const double seconds = Seconds([&] {
      if (!SaveTopologyFile(*network.picture, kSavedPath)) state.SkipWithError("save failed");
    });
    state.SetIterationTime(seconds);
    save += seconds;
    plain += Seconds([&] { WritePlainFile(network.bytes); });
  }
  Describe(state, *network.picture, network.bytes.size());
  state.counters["x_write"] = save / plain;
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_Open(benchmark::State& state) {
  LargeNetwork& network = Network();
  WritePlainFile(network.bytes);
  std::rename(kPlainPath.c_str(), kSavedPath.c_str());
  double open = 0, plain = 0;
  auto doc = HeadlessPicture();
  for (auto _ : state) {
    const double seconds = Seconds([&] {
      if (!OpenTopologyFile(*doc, kSavedPath)) state.SkipWithError("open failed");
    });
    state.SetIterationTime(seconds);
    open += seconds;
    plain += Seconds([&] {
      benchmark::DoNotOptimize(ReadPlainFile(kSavedPath, network.bytes.size()).data());
    });
  }
  Describe(state, *doc, network.bytes.size());
  state.counters["x_read"] = open / plain;
  std::remove(kSavedPath.c_str());
  std::remove(kPlainPath.c_str());
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
}  // namespace mapvine

BENCHMARK_MAIN();
