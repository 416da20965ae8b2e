// A status pass of 1,000 network nodes whose every APING takes 200 ms, with
// one check at a time against 8 (and 32) at once: the wall time the pass
// takes. The node is the library's own, following a description file with
// "delay aping 200", called from the pass's worker threads.
//   BM_StatusPass/N   N checks at once
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "QuietStandardOutput.h"
#include "model/MapvineDoc.h"
#include "refresh/RefreshCommand.h"
#include "snanode/LiveNode.h"

namespace {

constexpr int kNodes = 1000;

struct SlowNode {
  SlowNode() {
    std::ofstream file(path);
    file << "delay aping 200\n";
    for (int i = 0; i < kNodes; ++i) file << "nn NETA.N" << i << "\n";
  }
  ~SlowNode() { std::remove(path.c_str()); }
  const std::string path = "/tmp/mapvine-status-bench-" + std::to_string(::getpid()) + ".net";
};

void BM_StatusPass(benchmark::State& state) {
  static SlowNode description;
  // Shared with the worker threads, which nobody joins.
  auto node = std::make_shared<snanode::LiveNode>(description.path);
  const mapvine::SnaCtlFunction snaCtl = [node](void* block, std::uint32_t length) { node->Call(block, length); };
  mapvine::CMapvineDoc doc;
  doc.NewDocument();
  mapvine::RefreshCommand(doc, snaCtl);  // the nodes are in the picture
  doc.settings.activeQuery = 1;
  const mapvine::StatusCheckLimits limits{.atOnce = static_cast<int>(state.range(0)),
                                          .deadlineMilliseconds = 30000};
  const mapvine::QuietStandardOutput quiet;
  for (auto _ : state) mapvine::RefreshCommand(doc, snaCtl, nullptr, limits);
}
BENCHMARK(BM_StatusPass)->Arg(1)->Arg(8)->Arg(32)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
