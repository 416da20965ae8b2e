#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include "base/WorkerThread.h"

namespace mapvine {

// The main of a benchmark program that needs widgets: the application on
// the offscreen platform unless another is asked for, then `Fixture` built
// once (it is costly) and reachable through `shared` while the benchmarks run.
template <typename Fixture>
int RunWidgetBenchmarks(int argc, char** argv, Fixture*& shared) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A writer a benchmark let go of ends before Qt does.
  const WorkersFinishFirst workersFinishFirst;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  {
    Fixture fixture;
    shared = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    shared = nullptr;
  }
  benchmark::Shutdown();
  return 0;
}

}  // namespace mapvine
