#pragma once

#include <QBasicTimer>
#include <QObject>

#include <functional>
#include <optional>

#include "model/CNode.h"

namespace mapvine {

// A found node shows its other image and back, four times over, a phase per
// tick of a timer, and ends on the image it showed before. A blink still
// under way when another starts jumps to its end at once.
class NodeBlink final : public QObject {
 public:
  // `show` puts the image of `slot` on the node and shows it.
  explicit NodeBlink(std::function<void(CNode& node, int slot)> show) : show_(std::move(show)) {}

  void Start(CNode& node);
  // One phase; each tick of the timer is one, and tests call it to step
  // through a blink without waiting.
  void Phase();
  bool Active() const { return state_.has_value(); }
  // The node leaves the document (all of them when null): its blink ends
  // where it is.
  void Forget(const CNode* node);

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  struct State {
    CNode* node;  // forgotten at once when it leaves the document
    int shown;    // the image it showed before, and shows again at the end
    int other;
    int phase;
  };
  std::function<void(CNode& node, int slot)> show_;
  QBasicTimer timer_;
  std::optional<State> state_;
};

}  // namespace mapvine
