#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/StatusProgress.h"
#include "base/WorkerThread.h"

namespace mapvine {

// Runs a long command's work on a worker thread while the window keeps
// painting: the status bar shows its progress with a Stop button, and the
// command hears on the GUI thread that it ended. The GUI thread never
// waits for the worker; it looks at it on a timer.
class BackgroundRun final : public QObject {
  Q_OBJECT

 public:
  // What Stop does. Work that cannot be interrupted inside a step of its
  // own (a layout library's) is let go of: the command hears at once that
  // it stopped, and the worker finishes its step alone and what it leaves
  // is dropped. Work that looks at the stop flag often is followed to its
  // end, so that the command hears how it really ended: a file may be
  // written by the time the worker sees the stop.
  enum class OnStop { LetGo, FollowToTheEnd };

  // How the work ended, as the command hears of it: finished with no stop
  // asked (its results may be read), let go of before it finished (they
  // never may), or ended after a stop was asked (they may, and tell
  // whether the work stopped or finished first; the command decides
  // whether to keep them).
  enum class End { Finished, Stopped, EndedAfterStop };

  BackgroundRun(StatusProgress& progress, OnStop onStop);
  ~BackgroundRun() override;

  // Starts `work` under `stage` in the progress; `ended` is called on the
  // GUI thread once, when the work ended. One run at a time.
  void Start(std::string_view stage, WorkerThread::Work work, std::function<void(End)> ended);
  // True until the command heard the end: while a stopped worker is
  // followed to its end too.
  bool Running() const { return worker_ != nullptr; }
  // The person asked to stop (the progress's Stop button or Escape). The
  // worker hears it at once; the command at the next look.
  void Stop();

 private:
  void Poll();
  void Report(End end);

  StatusProgress& progress_;
  const OnStop onStop_;
  std::unique_ptr<WorkerThread> worker_;
  std::function<void(End)> ended_;
  // Workers let go of that have not yet come back.
  std::vector<std::unique_ptr<WorkerThread>> abandoned_;
  QTimer poll_;
  bool stopAsked_ = false;
};

}  // namespace mapvine
