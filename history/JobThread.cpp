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
}

void JobThread::Post(std::function<void()> job) { QMetaObject::invokeMethod(worker_, std::move(job)); }

void JobThread::Flush() {
  QSemaphore done;
  Post([&done] { done.release(); });
  done.acquire();
}

}  // namespace mapvine
