#include "export/FastDeflate.h"

#include <zlib.h>

namespace {

// zlib's second level: its fast matcher, with twice the first level's
// search for a few per cent smaller pages.
constexpr int kFastLevel = 2;
// zlib's own memory level for a stream started without one.
constexpr int kDefaultMemoryLevel = 8;

thread_local bool fastOnThisThread = false;

}  // namespace

// Every caller of zlib's deflateInit() in the process arrives here rather
// than in zlib: the program's own definition, seen by the libraries it
// loads, comes before zlib's. It starts the stream exactly as zlib's would
// (the same window, memory and strategy, and zlib's check of the caller's
// version), at the fast level where this thread asks for it.
extern "C" __attribute__((visibility("default"))) int ZEXPORT deflateInit_(z_streamp stream, int level,
                                                                            const char* version, int streamSize) {
  if (fastOnThisThread && level == Z_DEFAULT_COMPRESSION) level = kFastLevel;
  return deflateInit2_(stream, level, Z_DEFLATED, MAX_WBITS, kDefaultMemoryLevel, Z_DEFAULT_STRATEGY, version,
                       streamSize);
}

namespace mapvine {

FastDeflateOnThisThread::FastDeflateOnThisThread() : wasFast_(fastOnThisThread) { fastOnThisThread = true; }

FastDeflateOnThisThread::~FastDeflateOnThisThread() { fastOnThisThread = wasFast_; }

}  // namespace mapvine
