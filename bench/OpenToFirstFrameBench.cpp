// Opening the 100,000-resource picture in the program's window: the network
// of `snanode-gen --resources 100000 --seed 1` (about 71,000 nodes and
// 74,000 links, a 270 MB file), refreshed and saved by `mapvine --refresh
// --save` as large-picture-run.sh does, then opened by the application as
// `mapvine big.top` opens it, on the offscreen platform:
//   BM_OpenToFirstFrame  from opening the file to the first frame painted in
//                        the window; x_read is against reading the file
//                        into memory in the same run, peak_MB the process's
//                        peak resident memory when the first frame is shown
// Targets: the first frame within 1.5 s, peak memory within 1 GB.
// Run from the build folder: build/bin/bench_open_first_frame. Making the
// picture takes the programs beside it half a minute.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "QtBenchmarkMain.h"
#include "SavedPictureRun.h"

namespace mapvine {
namespace {

// The 100,000-resource picture.
struct SavedLargePicture : SavedPicture {
  SavedLargePicture() : SavedPicture({"--resources", "100000", "--seed", "1"}) {}
};

SavedLargePicture* savedPicture = nullptr;

// Reads the whole file through a small buffer (the page cache keeps it for
// both the open and the plain read), or into memory when `into` is given.
void ReadFile(const QString& path, std::vector<std::uint8_t>* into) {
  const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  std::vector<std::uint8_t> block(1 << 20);
  std::size_t filled = 0;
  for (;;) {
    std::uint8_t* at = into != nullptr ? into->data() + filled : block.data();
    const std::size_t room = into != nullptr ? into->size() - filled : block.size();
    if (room == 0) break;
    const ssize_t got = ::read(fd, at, room);
    if (got <= 0) break;
    if (into != nullptr) filled += static_cast<std::size_t>(got);
  }
  ::close(fd);
}

void BM_OpenToFirstFrame(benchmark::State& state) {
  const SavedLargePicture& picture = *savedPicture;
  if (!picture.made) {
    state.SkipWithError("could not make the saved picture with snanode-gen and mapvine");
    return;
  }
  ReadFile(picture.path, nullptr);
  double open = 0, plain = 0, peak = 0, nodes = 0;
  for (auto _ : state) {
    auto app = AppWithoutNode();
    bool shown = false;
    const double seconds = Seconds([&] { shown = OpenAndShow(*app, picture.path); });
    if (!shown) state.SkipWithError("the picture was not shown");
    // Before the plain read below adds its own copy of the file.
    if (peak == 0) peak = PeakResidentMegabytes();
    state.SetIterationTime(seconds);
    open += seconds;
    nodes = static_cast<double>(app->Document().Nodes().size());
    app.reset();
    plain += Seconds([&] {
      std::vector<std::uint8_t> bytes(picture.bytes);
      ReadFile(picture.path, &bytes);
      benchmark::DoNotOptimize(bytes.data());
    });
  }
  state.counters["nodes"] = nodes;
  state.counters["MB"] = static_cast<double>(picture.bytes) / 1e6;
  state.counters["x_read"] = open / plain;
  state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_OpenToFirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
}  // namespace mapvine

int main(int argc, char** argv) {
  // The window remembers its layout and recent files: keep the user's own.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  return mapvine::RunWidgetBenchmarks(argc, argv, mapvine::savedPicture);
}
