#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/StatusProgress.h"
#include "base/WorkerThread.h"

namespace mapvine {

// Runs a long command's work on a worker thread while the window keeps
// painting: the status bar shows its progress with a Stop button, and the
// command hears on the GUI thread that it ended. Stop abandons the worker
// at once; it stops at its next look at the stop flag, or finishes its step
// in the background, and whatever it leaves is dropped.
class BackgroundRun final : public QObject {
  Q_OBJECT

 public:
  // How the work ended, as the command hears of it: finished (its results
  // may be read), stopped before it finished (its results never may), or
  // finished by the time a stop was asked for (they may; the command
  // decides whether to keep them).
  enum class End { Finished, Stopped, FinishedDespiteStop };

  BackgroundRun(StatusProgress& progress, std::chrono::milliseconds longestWaitAtEnd);
  ~BackgroundRun() override;

  // Starts `work` under `stage` in the progress; `ended` is called on the
  // GUI thread once, when the work ended. One run at a time.
  void Start(std::string_view stage, WorkerThread::Work work, std::function<void(End)> ended);
  bool Running() const { return worker_ != nullptr; }
  // The person asked to stop (the progress's Stop button or Escape).
  void Stop() { stopAsked_ = true; }

 private:
  void Poll();

  StatusProgress& progress_;
  const std::chrono::milliseconds longestWaitAtEnd_;
  std::unique_ptr<WorkerThread> worker_;
  std::function<void(End)> ended_;
  // Stopped workers that have not yet come back.
  std::vector<std::unique_ptr<WorkerThread>> abandoned_;
  QTimer poll_;
  bool stopAsked_ = false;
};

}  // namespace mapvine
