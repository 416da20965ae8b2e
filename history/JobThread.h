#pragma once

#include <QObject>
#include <QThread>
#include <functional>

#include "base/HandOver.h"

namespace mapvine {

// A thread of its own that runs the jobs posted to it one after another,
// in the order they were posted. Destroying it runs every job posted, then
// stops the thread.
class JobThread {
 public:
  explicit JobThread(const QString& name);
  ~JobThread();
  JobThread(const JobThread&) = delete;
  JobThread& operator=(const JobThread&) = delete;

  void Post(std::function<void()> job);
  // Waits until every job posted so far has run.
  void Flush();

 private:
  QThread thread_;
  QObject* worker_;  // lives on thread_, deleted there
  HandOver handOver_;
};

}  // namespace mapvine
