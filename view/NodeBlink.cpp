#include "view/NodeBlink.h"

#include <QTimerEvent>

namespace mapvine {

namespace {

constexpr int kBlinkPhases = 8;
constexpr int kBlinkPhaseMilliseconds = 150;

}  // namespace

void NodeBlink::Start(CNode& node) {
  while (state_) Phase();
  const int shown = node.imageIndex != 0 ? node.imageIndex : node.activeImage;
  const int other = node.imageIndex == node.activeImage ? node.inactiveImage : node.activeImage;
  state_ = State{&node, shown, other, 0};
  Phase();
  timer_.start(kBlinkPhaseMilliseconds, this);
}

void NodeBlink::Phase() {
  if (!state_) return timer_.stop();
  State& blink = *state_;
  // The last phase is the image the node showed before the blink.
  show_(*blink.node, blink.phase % 2 == 0 ? blink.other : blink.shown);
  if (++blink.phase == kBlinkPhases) {
    state_.reset();
    timer_.stop();
  }
}

void NodeBlink::Forget(const CNode* node) {
  if (!state_ || (node != nullptr && state_->node != node)) return;
  state_.reset();
  timer_.stop();
}

void NodeBlink::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timer_.timerId()) Phase();
}

}  // namespace mapvine
