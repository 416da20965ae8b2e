#pragma once

// A call into a library that hands what it builds to a thread of its own
// (QtDBus passes a signal subscription to its connection's thread, under a
// lock TSan cannot see), where no code of ours runs to Take() a HandOver:
// while a LibraryHandOver is in scope, TSan forgets what this thread
// writes, so the library's thread reading or freeing it later is no race
// to report. Only the library's call belongs in the scope; locks taken in
// it still count. In other builds it does nothing.

#include "base/HandOver.h"

namespace mapvine {

class LibraryHandOver {
 public:
  LibraryHandOver() {
#ifdef MAPVINE_TSAN_ANNOTATIONS
    __tsan_ignore_thread_begin();
#endif
  }
  ~LibraryHandOver() {
#ifdef MAPVINE_TSAN_ANNOTATIONS
    __tsan_ignore_thread_end();
#endif
  }
  LibraryHandOver(const LibraryHandOver&) = delete;
  LibraryHandOver& operator=(const LibraryHandOver&) = delete;
};

}  // namespace mapvine
