// The largest network the node can describe (`snanode-gen --largest`: 65,535
// node records, 65,535 TGs and 65,535 directory entries, so about 131,000
// nodes and 131,000 links in the picture), end to end on the offscreen
// platform:
//   BM_RefreshAndSave    `mapvine --refresh --save` as its own process, as a
//                        script runs it: the time is the wall time; cpu_s is
//                        its user and system time, peak_MB its peak
//                        resident memory
//   BM_OpenToFirstFrame  the saved picture opened in the window as `mapvine
//                        FILE` opens it, to the first frame painted; peak_MB
//                        is this process's peak resident memory then
//   BM_FitFrame          one frame of the whole picture fitted to a 1280 x
//                        1024 window
// Targets: refresh and save within 3 s, the first frame within 1 s, peak
// memory within 500 MB, a Fit to Window frame within 100 ms.
// Run from the build folder: build/bin/bench_largest_network.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "QtBenchmarkMain.h"
#include "SavedPictureRun.h"

namespace mapvine {
namespace {

struct LargestPicture : SavedPicture {
  LargestPicture() : SavedPicture({"--largest", "--seed", "1"}) {}
};

LargestPicture* largestPicture = nullptr;

struct ChildRun {
  bool succeeded = false;
  double cpuSeconds = 0;
  double peakMegabytes = 0;
};

double SecondsOf(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// Runs the program beside this one and reads its own resource use, which
// wait4 reports for exactly that child.
ChildRun RunMeasured(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
  std::vector<std::string> words{(QCoreApplication::applicationDirPath() + "/" + program).toStdString()};
  for (const QString& argument : arguments) words.push_back(argument.toStdString());
  std::vector<std::string> settings;
  for (const QString& setting : environment.toStringList()) settings.push_back(setting.toStdString());
  const auto pointers = [](std::vector<std::string>& strings) {
    std::vector<char*> list;
    for (std::string& s : strings) list.push_back(s.data());
    list.push_back(nullptr);
    return list;
  };
  std::vector<char*> argv = pointers(words);
  std::vector<char*> envp = pointers(settings);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ChildRun run;
  if (spawned != 0) return run;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return run;
  run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.cpuSeconds = SecondsOf(usage.ru_utime) + SecondsOf(usage.ru_stime);
  run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024;
  return run;
}

bool Made(benchmark::State& state) {
  if (largestPicture->made) return true;
  state.SkipWithError("could not make the saved picture with snanode-gen and mapvine");
  return false;
}

void BM_RefreshAndSave(benchmark::State& state) {
  if (!Made(state)) return;
  const QString again = largestPicture->folder.filePath("again.top");
  double cpu = 0, peak = 0;
  for (auto _ : state) {
    ChildRun run;
    state.SetIterationTime(Seconds([&] {
      run = RunMeasured("mapvine", {"--refresh", "--save", again}, NodeEnvironment(largestPicture->network));
    }));
    if (!run.succeeded) state.SkipWithError("mapvine --refresh --save failed");
    cpu += run.cpuSeconds;
    peak = std::max(peak, run.peakMegabytes);
  }
  state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
  state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_RefreshAndSave)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_OpenToFirstFrame(benchmark::State& state) {
  if (!Made(state)) return;
  double nodes = 0;
  for (auto _ : state) {
    auto app = AppWithoutNode();
    bool shown = false;
    state.SetIterationTime(Seconds([&] { shown = OpenAndShow(*app, largestPicture->path); }));
    if (!shown) state.SkipWithError("the picture was not shown");
    nodes = static_cast<double>(app->Document().Nodes().size());
  }
  state.counters["nodes"] = nodes;
  state.counters["MB"] = static_cast<double>(largestPicture->bytes) / 1e6;
  state.counters["peak_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_OpenToFirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_FitFrame(benchmark::State& state) {
  if (!Made(state)) return;
  auto app = AppWithoutNode();
  if (!OpenAndShow(*app, largestPicture->path)) {
    state.SkipWithError("the picture was not shown");
    return;
  }
  CMapvineView& view = app->MainFrame().View();
  app->MainFrame().resize(1280, 1024);
  QCoreApplication::processEvents();
  view.Zooming().FitToWindow();
  // The first frame after a change of the picture also finds its nodes and
  // links anew; that is not what is measured.
  view.viewport()->repaint();
  for (auto _ : state) {
    view.OverlayChanged();
    view.viewport()->repaint();
  }
  state.counters["nodes"] = static_cast<double>(app->Document().Nodes().size());
  state.counters["links"] = static_cast<double>(app->Document().Links().size());
  state.counters["zoom_pct"] = view.Zooming().Zoom() * 100;
}
BENCHMARK(BM_FitFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace mapvine

int main(int argc, char** argv) {
  // The window remembers its layout and recent files: keep the user's own.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  return mapvine::RunWidgetBenchmarks(argc, argv, mapvine::largestPicture);
}
