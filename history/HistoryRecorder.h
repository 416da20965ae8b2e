#pragma once

#include <QMutex>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "history/HistoryStore.h"
#include "base/HandOver.h"
#include "history/JobThread.h"

namespace mapvine {

// Keeps the history on a thread of its own, so that a refresh hands over
// its changes and goes on: writing, reading and forgetting old refreshes
// never hold the GUI thread. Requests run in the order they were made.
// When the database fails, Failed is emitted once and every later request
// is dropped: the program goes on without history.
class HistoryRecorder final : public QObject {
  Q_OBJECT
 public:
  // Opens the history and forgets refreshes older than `retentionDays`
  // (none when 0), on the worker thread.
  HistoryRecorder(const HistoryLocation& location, int retentionDays);
  // Finishes every request made, then stops the thread.
  ~HistoryRecorder() override;

  void Record(const NetworkKey& network, HistoryTime when,
              std::shared_ptr<const std::vector<TopologyChange>> changes);
  // Acknowledges the changes up to `when`: all, or those of `keys`.
  void Acknowledge(const NetworkKey& network, HistoryTime when, std::optional<std::vector<std::string>> keys);
  // Reads the rows the filter lets through and hands them to `done` on
  // the recorder's own thread (the GUI thread), from its event loop.
  void Read(const HistoryFilter& filter, std::function<void(std::vector<HistoryRow>)> done);
  // Waits until every request made so far has run (for a program about to
  // end, and for tests).
  void Flush();

  bool Failing() const { return failing_; }
  // Why, once Failing (empty before).
  QString FailureMessage() const;
  const HistoryLocation& Location() const { return location_; }

 signals:
  // The history cannot be kept; the text says why, in a sentence or two.
  void Failed(const QString& message);

 private:
  // Runs `job` on the worker thread with the store, unless the history failed.
  void Post(std::function<void(HistoryStore&)> job);
  void Fail(const HistoryProblem& problem);

  HistoryLocation location_;
  std::unique_ptr<HistoryStore> store_;  // used on thread_ only
  std::atomic<bool> failing_{false};
  mutable QMutex failureMutex_;
  QString failureMessage_;
  HandOver toWindow_;  // what the jobs hand back to the window's thread
  JobThread thread_{"history"};  // last: it finishes its jobs before the rest goes
};

}  // namespace mapvine
