#include "history/HistoryRecorder.h"

#include "base/LibraryHandOver.h"
#include <QDateTime>

namespace mapvine {

HistoryRecorder::HistoryRecorder(const HistoryLocation& location, int retentionDays)
    : location_(location) {
  thread_.Post([this, retentionDays] {
    store_ = std::make_unique<HistoryStore>(location_);
    if (!store_->Open()) return Fail(store_->Problem());
    if (retentionDays <= 0) return;
    const HistoryTime cutoff = QDateTime::currentMSecsSinceEpoch() - qint64{retentionDays} * 24 * 3600 * 1000;
    if (!store_->ForgetBefore(cutoff)) Fail(store_->Problem());
  });
}

HistoryRecorder::~HistoryRecorder() {
  // A connection closes on the thread that opened it, after every request.
  thread_.Post([this] { store_.reset(); });
  thread_.Flush();
}

void HistoryRecorder::Post(std::function<void(HistoryStore&)> job) {
  if (failing_) return;
  thread_.Post([this, job = std::move(job)] {
    if (!failing_ && store_) job(*store_);
  });
}

void HistoryRecorder::Fail(const HistoryProblem& problem) {
  if (failing_.exchange(true)) return;
  // The problem is mostly the store's own: worded before the store goes.
  const QString message = problem.Message();
  store_.reset();
  {
    const QMutexLocker lock(&failureMutex_);
    failureMessage_ = message;
  }
  // Qt builds the event here and hands it to the GUI thread, whose event
  // filters read it.
  const LibraryHandOver posting;
  QMetaObject::invokeMethod(this, toWindow_.Carrying([this, message] { emit Failed(message); }));
}

void HistoryRecorder::Record(const NetworkKey& network, HistoryTime when,
                             std::shared_ptr<const std::vector<TopologyChange>> changes) {
  Post([this, network, when, changes = std::move(changes)](HistoryStore& store) {
    if (!store.WriteRefresh(network, when, *changes)) Fail(store.Problem());
  });
}

void HistoryRecorder::Acknowledge(const NetworkKey& network, HistoryTime when,
                                  std::optional<std::vector<std::string>> keys) {
  Post([this, network, when, keys = std::move(keys)](HistoryStore& store) {
    if (!store.Acknowledge(network, when, keys ? &*keys : nullptr)) Fail(store.Problem());
  });
}

void HistoryRecorder::Read(const HistoryFilter& filter, std::function<void(std::vector<HistoryRow>)> done) {
  Post([this, filter, done = std::move(done)](HistoryStore& store) {
    std::vector<HistoryRow> rows;
    if (!store.Read(filter, [&rows](const HistoryRow& row, const NetworkKey&) {
          rows.push_back(row);
          return true;
        })) {
      return Fail(store.Problem());
    }
    const LibraryHandOver posting;  // as in Fail
    QMetaObject::invokeMethod(this,
                              toWindow_.Carrying([done, rows = std::move(rows)]() mutable { done(std::move(rows)); }));
  });
}

QString HistoryRecorder::FailureMessage() const {
  const QMutexLocker lock(&failureMutex_);
  return failureMessage_;
}

void HistoryRecorder::Flush() { thread_.Flush(); }

}  // namespace mapvine
