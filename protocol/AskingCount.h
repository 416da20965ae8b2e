#pragma once

#include <cstddef>
#include <functional>

namespace mapvine {

// How far a look at the node has come: the entries received so far, and
// the entries the lists announced (a list's total is known once it was
// probed, so the figure grows as the look reaches the next list).
struct AskingProgress {
  std::size_t received = 0;
  std::size_t announced = 0;
};

// Counts what a look at the node receives and tells it, now and then, to
// whoever shows it. It is told on the thread that asks the node.
class AskingCount {
 public:
  explicit AskingCount(std::function<void(AskingProgress)> tell) : tell_(std::move(tell)) {}

  // A list announced `entries` more entries.
  void Announce(std::size_t entries);
  // `entries` more entries arrived.
  void Receive(std::size_t entries);

 private:
  void Tell();

  std::function<void(AskingProgress)> tell_;
  AskingProgress progress_;
  std::size_t lastTold_ = 0;
};

}  // namespace mapvine
