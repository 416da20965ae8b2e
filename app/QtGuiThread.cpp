#include "app/QtGuiThread.h"

#include <QTimer>

#include "base/LibraryHandOver.h"

namespace mapvine {

QtGuiThread::QtGuiThread() : receiver_(std::make_unique<QObject>()) {}

// Close has run by now unless the last worker outlived the window; then
// only a closed, empty shell is left to go.
QtGuiThread::~QtGuiThread() = default;

void QtGuiThread::Post(std::function<void()> task) {
  const std::lock_guard lock(mutex_);
  // Held while posting, so Close cannot destroy the receiver under it.
  if (receiver_) {
    // Qt builds the event here and hands it to the GUI thread, whose event
    // filters of ours read it.
    const LibraryHandOver posting;
    QMetaObject::invokeMethod(receiver_.get(), handOver_.Carrying(std::move(task)), Qt::QueuedConnection);
  }
}

void QtGuiThread::PostAfter(int milliseconds, std::function<void()> task) {
  const std::lock_guard lock(mutex_);
  if (!receiver_) return;
  const LibraryHandOver posting;  // as in Post
  QTimer::singleShot(milliseconds, receiver_.get(), handOver_.Carrying(std::move(task)));
}

void QtGuiThread::Close() {
  std::unique_ptr<QObject> receiver;
  {
    const std::lock_guard lock(mutex_);
    receiver = std::move(receiver_);
  }
  // Destroyed outside the lock: dropping its posted tasks may release what
  // they hold, a worker's shared state among it.
}

}  // namespace mapvine
