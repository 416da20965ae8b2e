#include "protocol/AskingCount.h"

namespace mapvine {
namespace {

// Entries between two reports: each report crosses to the window's thread,
// and a directory arrives one entry per verb.
constexpr std::size_t kEntriesBetweenReports = 256;

}  // namespace

void AskingCount::Announce(std::size_t entries) {
  if (entries == 0) return;
  progress_.announced += entries;
  Tell();
}

void AskingCount::Receive(std::size_t entries) {
  progress_.received += entries;
  if (progress_.received - lastTold_ >= kEntriesBetweenReports || progress_.received >= progress_.announced) {
    Tell();
  }
}

void AskingCount::Tell() {
  lastTold_ = progress_.received;
  if (tell_) tell_(progress_);
}

}  // namespace mapvine
