#pragma once

// Work handed to another thread through Qt's event queue is ordered by a
// lock inside Qt. Where Qt is not built with ThreadSanitizer, TSan cannot
// see that lock and takes everything the posting thread wrote before the
// hand-over for a race with the work that reads it. A HandOver states the
// same order for TSan: Give() before posting, Take() where the work starts.
// In other builds both do nothing.

#if defined(__SANITIZE_THREAD__)
#define MAPVINE_TSAN_ANNOTATIONS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define MAPVINE_TSAN_ANNOTATIONS 1
#endif
#endif

#ifdef MAPVINE_TSAN_ANNOTATIONS
#include <sanitizer/tsan_interface.h>
// The runtime has these without declaring them in a header.
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

#include <atomic>
#include <utility>

namespace mapvine {

class HandOver {
 public:
  // `job` wrapped for posting now: what this thread wrote before the
  // wrapped job is whole in Qt's event is ordered before the job, and the
  // job before whoever Take()s after it ran. The hand-over must outlive
  // the wrapped job, as its receiver's owner does.
  template <typename Job>
  auto Carrying(Job job);

  void Give() {
#ifdef MAPVINE_TSAN_ANNOTATIONS
    __tsan_release(this);
#endif
  }
  void Take() {
#ifdef MAPVINE_TSAN_ANNOTATIONS
    __tsan_acquire(this);
#endif
  }
};

// A job on its way through a HandOver. Qt moves it into the event it
// queues after it was made, so every copy gives again once it is whole:
// the last, inside the event, covers the job's own bytes too.
template <typename Job>
class HandedOver {
 public:
  HandedOver(HandOver& handOver, Job job) : handOver_(&handOver), job_(std::move(job)) { handOver_->Give(); }
  HandedOver(HandedOver&& other) : handOver_(other.handOver_), job_(std::move(other.job_)) { handOver_->Give(); }
  HandedOver(const HandedOver& other) : handOver_(other.handOver_), job_(other.job_) { handOver_->Give(); }
  HandedOver& operator=(const HandedOver&) = delete;
  // Qt may free the job on the posting thread once it ran on the other:
  // its freeing comes after the run.
  ~HandedOver() {
    if (ran_.load(std::memory_order_relaxed)) Through().Take();
  }

  void operator()() {
    HandOver& handOver = Through();
    handOver.Take();
    job_();
    ran_.store(true, std::memory_order_relaxed);
    handOver.Give();
  }

 private:
  // Which hand-over to take is read before it is taken: TSan is told not
  // to look at that one read, which Qt's lock orders after the posting.
  HandOver& Through() const {
#ifdef MAPVINE_TSAN_ANNOTATIONS
    __tsan_ignore_thread_begin();
#endif
    HandOver* const handOver = handOver_;
#ifdef MAPVINE_TSAN_ANNOTATIONS
    __tsan_ignore_thread_end();
#endif
    return *handOver;
  }

  HandOver* handOver_;
  Job job_;
  std::atomic<bool> ran_{false};
};

template <typename Job>
auto HandOver::Carrying(Job job) {
  return HandedOver<Job>(*this, std::move(job));
}

}  // namespace mapvine
