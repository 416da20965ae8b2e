#include "view/KeyboardSelection.h"

#include <QScrollBar>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "model/LuFold.h"
#include "render/LuFolding.h"

namespace mapvine {

CNode* KeyboardSelection::SelectedNode() const {
  CNode* node = picks_.selected;
  return node != nullptr && !node->hidden && !FoldedAway(*node) ? node : nullptr;
}

void KeyboardSelection::Select(CNode* node) {
  CNode* before = SelectedNode();
  picks_.selected = node;
  for (const CNode* changed : {before, SelectedNode()}) {
    if (changed == nullptr) continue;
    picture_.OverlayChanged(changed->GetRect());
    // Far out, an LU may show folded into its owner, which carries the frame.
    const CNode* owner = zoom_.Zoom() < 1.0 ? FoldOwner(*changed) : nullptr;
    if (owner != nullptr) picture_.OverlayChanged(owner->GetRect());
  }
}

void KeyboardSelection::Step(int step) {
  // The shown nodes in list order, wrapping round at either end.
  std::vector<CNode*> shown;
  for (const auto& node : doc_.Nodes()) {
    if (!node->hidden && !FoldedAway(*node)) shown.push_back(node.get());
  }
  if (shown.empty()) return;
  const auto at = std::find(shown.begin(), shown.end(), SelectedNode());
  const auto count = static_cast<std::ptrdiff_t>(shown.size());
  std::ptrdiff_t next = step > 0 ? 0 : count - 1;
  if (at != shown.end()) next = ((at - shown.begin()) + step + count) % count;
  Select(shown[static_cast<std::size_t>(next)]);
  ScrollToShow(*shown[static_cast<std::size_t>(next)]);
}

void KeyboardSelection::Toward(int dx, int dy) {
  const CNode* from = SelectedNode();
  if (from == nullptr) {
    Step(1);
    return;
  }
  const Point origin = from->GetCenter();
  CNode* best = nullptr;
  long long bestScore = std::numeric_limits<long long>::max();
  for (const auto& node : doc_.Nodes()) {
    if (node->hidden || FoldedAway(*node) || node.get() == from) continue;
    const Point centre = node->GetCenter();
    const long long along = static_cast<long long>(centre.x - origin.x) * dx +
                            static_cast<long long>(centre.y - origin.y) * dy;
    const long long across = std::llabs(static_cast<long long>(centre.x - origin.x) * dy +
                                        static_cast<long long>(centre.y - origin.y) * dx);
    if (along <= 0) continue;
    // Straight ahead counts more than off to the side; the first in list
    // order wins a tie.
    const long long score = along + 2 * across;
    if (score < bestScore) {
      best = node.get();
      bestScore = score;
    }
  }
  if (best == nullptr) return;
  Select(best);
  ScrollToShow(*best);
}

void KeyboardSelection::ScrollToShow(const CNode& node) {
  // Where the node and its label show now, at the zoom shown.
  const Rect box = node.GetRect();
  const QRect icon = zoom_.ToViewport(box);
  const QRect withLabel =
      zoom_.ToViewport(Rect{box.left, box.top, box.right, box.bottom + CNode::kLabelBand});
  const QRect room = window_.viewport()->rect();
  if (icon.left() < room.left() || icon.right() > room.right()) {
    QScrollBar& bar = *window_.horizontalScrollBar();
    bar.setValue(bar.value() + icon.left() - (room.width() - icon.width()) / 2);
  }
  if (icon.top() < room.top() || withLabel.bottom() > room.bottom()) {
    QScrollBar& bar = *window_.verticalScrollBar();
    bar.setValue(bar.value() + icon.top() - (room.height() - icon.height()) / 2);
  }
}

}  // namespace mapvine
