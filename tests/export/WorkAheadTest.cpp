// Work done ahead on a thread of its own: in order, bounded, and stopped
// cleanly when the caller leaves early.
#include <gtest/gtest.h>

#include <atomic>

#include "export/WorkAhead.h"

namespace mapvine {
namespace {

TEST(WorkAhead, ItemsComeInOrderNeverTooFarAheadAndAnEarlyEndStopsTheWork) {
  for (const std::size_t takenBeforeTheEnd : {std::size_t{0}, std::size_t{3}, std::size_t{50}}) {
    std::atomic<std::size_t> started{0};
    std::atomic<std::size_t> taken{0};
    bool tooFarAhead = false;  // written by the worker only, read after it is joined
    {
      WorkAhead<std::size_t> work(50, 2, [&](std::size_t i) {
        // Item i waits while i - taken items are finished or under way.
        if (i > taken + 2) tooFarAhead = true;
        ++started;
        return i * i;
      });
      for (std::size_t i = 0; i < takenBeforeTheEnd; ++i) {
        ASSERT_EQ(work.Take(), i * i);
        ++taken;
      }
    }
    EXPECT_FALSE(tooFarAhead);
    EXPECT_LE(started, takenBeforeTheEnd + 3);
  }
}

}  // namespace
}  // namespace mapvine
