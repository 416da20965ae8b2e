#pragma once

// What the benchmarks of opening a saved picture share: the picture made by
// the generator and the program beside the benchmark, in other processes so
// that none of their memory counts against the window's, and the window
// opening it as `mapvine FILE` does, timed to its first painted frame.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>

#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "view/MapvineView.h"

namespace mapvine {

inline constexpr int kSlowestStepMs = 120000;

// The environment in which the program beside the benchmark refreshes from
// the simulated node serving `network`, without a display.
inline QProcessEnvironment NodeEnvironment(const QString& network) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("SNANODE_NETWORK", network);
  environment.insert("MAPVINE_SNACTL", QCoreApplication::applicationDirPath() + "/libsnactl.so");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  return environment;
}

// Runs a program that lies beside this one; false when it fails.
inline bool RunBeside(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment, const QString& output) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(output);
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(QCoreApplication::applicationDirPath() + "/" + program, arguments);
  return process.waitForFinished(kSlowestStepMs) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

// The network `snanode-gen generatorArguments` prints, refreshed and saved
// by `mapvine --refresh --save` as a script does.
struct SavedPicture {
  explicit SavedPicture(const QStringList& generatorArguments) {
    network = folder.filePath("big.net");
    path = folder.filePath("big.top");
    made = RunBeside("snanode-gen", generatorArguments, NodeEnvironment(network), network) &&
           RunBeside("mapvine", {"--refresh", "--save", path}, NodeEnvironment(network), QProcess::nullDevice());
    bytes = static_cast<std::size_t>(QFileInfo(path).size());
  }
  QTemporaryDir folder;
  QString network;
  QString path;
  bool made = false;
  std::size_t bytes = 0;
};

inline double Seconds(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
}

// Notes the first paint the watched widget receives; the paint itself runs
// right after the filter, before the event loop returns.
class FirstPaint : public QObject {
 public:
  bool seen = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) seen = true;
    return false;
  }
};

// Opens the picture as the program does for `mapvine FILE` and waits until
// the window has painted its first frame, the whole picture in it (a large
// one takes several turns); false when that never came.
inline bool OpenAndShow(CMapvineApp& app, const QString& path) {
  CommandLine line;
  line.file = path.toStdString();
  if (!app.InitInstance(line)) return false;
  FirstPaint paint;
  app.MainFrame().View().viewport()->installEventFilter(&paint);
  QElapsedTimer waited;
  waited.start();
  while (!paint.seen || !app.MainFrame().View().Frame().ShowsWhole()) {
    if (waited.elapsed() > kSlowestStepMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // The loop returned, so the paint it delivered is done.
  return true;
}

// No node library is needed to open a picture; one that answers nothing
// keeps the window from warning that it is missing.
inline std::unique_ptr<CMapvineApp> AppWithoutNode() {
  return std::make_unique<CMapvineApp>(SnaLibrary{[](void*, std::uint32_t) {}, {}});
}

}  // namespace mapvine
