// How long the GUI thread stalls while a refresh and a status pass run in
// the window, on the network of `snanode-gen --resources 100000 --seed 1`
// (about 71,000 nodes), the window 1280 x 1024 on the offscreen platform.
// A zero-interval timer ticks at every turn of the event loop; the longest
// gap between two ticks (and the time of the command that starts the run)
// is the longest the window could not answer the person:
//   BM_RefreshStall/0      the first refresh of an empty picture
//   BM_RefreshStall/1      a refresh over the picture, status pass included
//                          (8 checks at once against the in-process node)
//   BM_RefreshStall/2      the first refresh of an empty picture in a window
//                          of its own, status pass included
// Counters: longest_stall_ms, and total_s, the run from F5 until the
// window has painted what it left (over several turns for a large picture)
// and turns idle;
// longest_stall_cpu_ms is the GUI thread's own CPU time in the longest turn,
// which is what the work costs when other programs share the processors (a
// wall-clock gap then also holds the time the thread waited for a CPU);
// gui_cpu_s the GUI thread's CPU time over the whole run, and
// turns_over_50ms_cpu how many turns cost it more than a frame.
// With MAPVINE_STALL_TURNS=N set, the N longest turns (by CPU) are written
// to the standard error with their CLOCK_MONOTONIC span, for
// `perf record -k CLOCK_MONOTONIC` and `perf report --time START,END`.
#include <benchmark/benchmark.h>

#include <time.h>

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "QtBenchmarkMain.h"
#include "QuietStandardOutput.h"
#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

struct LargeWindow {
  LargeWindow()
      : node(snanode::GenerateNetwork(100000, 1)),
        app(SnaLibrary{[this](void* block, std::uint32_t length) { node.Call(block, length); }, {}}) {
    app.InitInstance(CommandLine{});
    app.MainFrame().resize(1280, 1024);
    app.MainFrame().show();
  }
  snanode::SimulatedNode node;
  CMapvineApp app;
};

LargeWindow* shared = nullptr;

std::int64_t ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

double MonotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Stall {
  double wallMs = 0;
  double cpuMs = 0;
  double cpuS = 0;
  int overFrame = 0;
};

// One turn of the event loop: its CPU time and where it lay in time.
struct Turn {
  std::int64_t cpu = 0;
  qint64 wall = 0;
  double from = 0;
  double to = 0;
};

// The longest turns, kept when asked for (MAPVINE_STALL_TURNS).
class LongestTurns {
 public:
  LongestTurns() {
    const char* wanted = std::getenv("MAPVINE_STALL_TURNS");
    kept_ = wanted ? static_cast<std::size_t>(std::max(0, std::atoi(wanted))) : 0;
  }
  void Add(const Turn& turn) {
    if (kept_ == 0) return;
    turns_.push_back(turn);
    std::sort(turns_.begin(), turns_.end(), [](const Turn& a, const Turn& b) { return a.cpu > b.cpu; });
    if (turns_.size() > kept_) turns_.pop_back();
  }
  ~LongestTurns() {
    for (const Turn& turn : turns_) {
      std::fprintf(stderr, "turn cpu %.1f ms wall %.1f ms --time %.6f,%.6f\n", static_cast<double>(turn.cpu) / 1e6,
                   static_cast<double>(turn.wall) / 1e6, turn.from, turn.to);
    }
  }

 private:
  std::size_t kept_;
  std::vector<Turn> turns_;
};

// Runs F5 to its end and answers the longest gap between event-loop turns,
// in wall-clock time and in the GUI thread's CPU time.
Stall LongestStall(CMapvineApp& app) {
  constexpr std::int64_t kFrameNanoseconds = 50'000'000;
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  qint64 longest = 0;
  const std::int64_t firstCpu = ThreadCpuNanoseconds();
  std::int64_t lastCpu = firstCpu;
  std::int64_t longestCpu = 0;
  double lastMonotonic = MonotonicSeconds();
  int overFrame = 0;
  LongestTurns kept;
  const auto turn = [&] {
    const qint64 now = clock.nsecsElapsed();
    const std::int64_t cpu = ThreadCpuNanoseconds();
    const double monotonic = MonotonicSeconds();
    longest = std::max(longest, now - last);
    longestCpu = std::max(longestCpu, cpu - lastCpu);
    if (cpu - lastCpu > kFrameNanoseconds) ++overFrame;
    kept.Add({cpu - lastCpu, now - last, lastMonotonic, monotonic});
    last = now;
    lastCpu = cpu;
    lastMonotonic = monotonic;
  };
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, turn);
  ticker.start(0);
  app.MainFrame().Route(command::kRefresh);
  turn();
  while (app.Commands().Refreshing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  // The picture the run left is painted after it ended, a large one over
  // several turns: they count, until the loop turns idle a while.
  constexpr std::int64_t kIdleTurnNanoseconds = 1'000'000;
  constexpr int kIdleTurns = 10;
  for (int idle = 0; idle < kIdleTurns;) {
    const std::int64_t before = ThreadCpuNanoseconds();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    idle = ThreadCpuNanoseconds() - before < kIdleTurnNanoseconds ? idle + 1 : 0;
  }
  return {static_cast<double>(longest) / 1e6, static_cast<double>(longestCpu) / 1e6,
          static_cast<double>(ThreadCpuNanoseconds() - firstCpu) / 1e9, overFrame};
}

void BM_RefreshStall(benchmark::State& state) {
  const bool overPicture = state.range(0) == 1;
  const bool statusPass = state.range(0) != 0;
  std::optional<LargeWindow> empty;
  if (state.range(0) == 2) empty.emplace();
  CMapvineApp& app = empty ? empty->app : shared->app;
  app.Document().settings.activeQuery = statusPass;
  if (overPicture && app.Document().Nodes().empty()) LongestStall(app);
  const QuietStandardOutput quiet;
  Stall stall;
  QElapsedTimer run;
  for (auto _ : state) {
    run.start();
    stall = LongestStall(app);
  }
  state.counters["longest_stall_ms"] = stall.wallMs;
  state.counters["longest_stall_cpu_ms"] = stall.cpuMs;
  state.counters["gui_cpu_s"] = stall.cpuS;
  state.counters["turns_over_50ms_cpu"] = stall.overFrame;
  state.counters["total_s"] = static_cast<double>(run.elapsed()) / 1000.0;
}
BENCHMARK(BM_RefreshStall)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace mapvine

int main(int argc, char** argv) { return mapvine::RunWidgetBenchmarks(argc, argv, mapvine::shared); }
