// The mapvine executable: the topology window, or one of its commands for
// scripts (--query, --history, --render, --save).
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "base/Diagnostics.h"
#include "base/WorkerThread.h"
#include "app/HistoryCommand.h"
#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "app/QueryCommand.h"
#include "layout/ArrangePicture.h"
#include "protocol/SnaLibrary.h"
#include "view/CommandIds.h"

namespace {

int RunDesktop(int argc, char** argv, const mapvine::CommandLine& line) {
  // A script learns of a missing library from the exit status; a person
  // started from a desktop menu sees the window, which says it too.
  mapvine::SnaLibrary library = mapvine::LoadSnaLibrary();
  // --changes answers like diff: 1 means something changed, 2 trouble.
  const int trouble = line.changes ? 2 : 1;
  if (!library.Loaded()) {
    std::cerr << "mapvine: " << library.error << "\n";
    if (line.Batch()) return trouble;
  }
  // A batch run never shows a window, so it needs no display either.
  if (line.Batch() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::vector<char*> qtArguments = mapvine::QtArguments(argc, argv);
  int qtArgumentCount = static_cast<int>(qtArguments.size()) - 1;
  QApplication qtApplication(qtArgumentCount, qtArguments.data());
  QApplication::setOrganizationName("Mapvine");
  QApplication::setApplicationName("Mapvine");
  QApplication::setApplicationVersion(MAPVINE_VERSION);
  QApplication::setDesktopFileName("mapvine");
  // Declared between Qt and the window: an export the closing window let
  // go of removes its temporary file before Qt ends under it.
  const mapvine::WorkersFinishFirst workersFinishFirst;

  mapvine::CMapvineApp app(std::move(library));
  if (!app.InitInstance(line)) return trouble;
  if (line.Batch()) {
    const bool refreshed = !line.refresh || app.Commands().RefreshAndWait();
    if (line.arrange) mapvine::ArrangeNow(app.Document());
    return app.WriteOutputs(line, refreshed);
  }
  // Refresh once the window is up, so the picture grows in front of the user.
  if (line.refresh) {
    QTimer::singleShot(0, &app.MainFrame(), [&app] { app.MainFrame().Route(mapvine::command::kRefresh); });
  }
  // The picture is arranged once the refresh has brought all of it in.
  if (line.arrange) {
    auto* waitForRefresh = new QTimer(&app.MainFrame());
    waitForRefresh->setInterval(50);
    QObject::connect(waitForRefresh, &QTimer::timeout, &app.MainFrame(), [&app, waitForRefresh] {
      if (app.Commands().Refreshing()) return;
      waitForRefresh->deleteLater();
      waitForRefresh->stop();
      app.MainFrame().Route(mapvine::command::kArrangeByConnections);
    });
    // Started after the refresh is, so the first look sees it running.
    QTimer::singleShot(0, waitForRefresh, qOverload<>(&QTimer::start));
  }
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const mapvine::ParsedCommandLine parsed = mapvine::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    std::cerr << "mapvine: " << parsed.error << "\n" << mapvine::UsageText();
    return 2;
  }
  switch (parsed.line.mode) {
    case mapvine::CommandLine::Mode::Help:
      std::cout << mapvine::UsageText();
      return 0;
    case mapvine::CommandLine::Mode::Version:
      std::cout << mapvine::VersionText();
      return 0;
    case mapvine::CommandLine::Mode::Query:
      mapvine::SetDiagnosticsStream(stderr);
      return mapvine::RunQueryCommand(parsed.line.trace, std::cout, std::cerr);
    case mapvine::CommandLine::Mode::History: {
      // The database drivers are plugins, which only an application object loads.
      int qtArgumentCount = 1;
      QCoreApplication application(qtArgumentCount, argv);
      QCoreApplication::setOrganizationName("Mapvine");
      QCoreApplication::setApplicationName("Mapvine");
      return mapvine::RunHistoryCommand(parsed.line, std::cout, std::cerr);
    }
    case mapvine::CommandLine::Mode::Window:
      // The change lines are the whole of standard output.
      if (parsed.line.changes) mapvine::SetDiagnosticsStream(stderr);
      break;
  }
  return RunDesktop(argc, argv, parsed.line);
}
