#pragma once

namespace mapvine {

// Qt's PDF writer deflates every page's content at zlib's default level,
// which it offers no way to change. A large picture across pages is tens
// of megabytes of line coordinates, on which the default level spends
// several times as long as a fast one for a file only a fifth smaller.
// While one of these lives, a zlib stream started on its thread at the
// default level starts at the fast level instead; streams on other
// threads, and any that ask for a level of their own, are left as they
// are. Should a later Qt start its streams another way, nothing changes
// but the speed.
class FastDeflateOnThisThread {
 public:
  FastDeflateOnThisThread();
  ~FastDeflateOnThisThread();

  FastDeflateOnThisThread(const FastDeflateOnThisThread&) = delete;
  FastDeflateOnThisThread& operator=(const FastDeflateOnThisThread&) = delete;

 private:
  bool wasFast_;
};

}  // namespace mapvine
