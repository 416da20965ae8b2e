#include "history/JobThread.h"

#include <QSemaphore>

namespace mapvine {

JobThread::JobThread(const QString& name) : worker_(new QObject) {
  thread_.setObjectName(name);
  worker_->moveToThread(&thread_);
  QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  thread_.start();
}

JobThread::~JobThread() {
  // Queued after every job, so they all run first.
  Post([this] { thread_.quit(); });
  thread_.wait();
  handOver_.Take();
}

void JobThread::Post(std::function<void()> job) {
  // The destructor and Flush take what the jobs gave once they waited.
  QMetaObject::invokeMethod(worker_, handOver_.Carrying(std::move(job)));
}

void JobThread::Flush() {
  QSemaphore done;
  Post([this, &done] {
    handOver_.Give();  // before the semaphore, which TSan cannot see either
    done.release();
  });
  done.acquire();
  handOver_.Take();
}

}  // namespace mapvine
