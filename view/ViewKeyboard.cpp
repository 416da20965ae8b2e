// The keyboard reaches the nodes: Tab and Shift+Tab move a selection through
// the shown nodes in list order, the arrow keys to the nearest node in their
// direction; Enter opens the selected node's details, the Menu key or
// Shift+F10 its context menu, Delete deletes it after asking. Escape clears
// a route.
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "base/UserPrompts.h"
#include "model/LuFold.h"
#include "render/LuFolding.h"
#include "view/MapvineView.h"

namespace mapvine {

CNode* CMapvineView::SelectedNode() const {
  CNode* node = picks_.selected;
  return node != nullptr && !node->hidden && !FoldedAway(*node) ? node : nullptr;
}

void CMapvineView::Select(CNode* node) {
  CNode* before = SelectedNode();
  picks_.selected = node;
  for (const CNode* changed : {before, SelectedNode()}) {
    if (changed == nullptr) continue;
    OverlayChanged(changed->GetRect());
    // Far out, an LU may show folded into its owner, which carries the frame.
    const CNode* owner = zoom_.Zoom() < 1.0 ? FoldOwner(*changed) : nullptr;
    if (owner != nullptr) OverlayChanged(owner->GetRect());
  }
}

void CMapvineView::SelectStep(int step) {
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

void CMapvineView::SelectToward(int dx, int dy) {
  const CNode* from = SelectedNode();
  if (from == nullptr) {
    SelectStep(1);
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

void CMapvineView::ScrollToShow(const CNode& node) {
  // Where the node and its label show now, at the zoom shown.
  const Rect box = node.GetRect();
  const QRect icon = zoom_.ToViewport(box);
  const QRect withLabel =
      zoom_.ToViewport(Rect{box.left, box.top, box.right, box.bottom + CNode::kLabelBand});
  const QRect room = viewport()->rect();
  if (icon.left() < room.left() || icon.right() > room.right()) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + icon.left() -
                                    (room.width() - icon.width()) / 2);
  }
  if (icon.top() < room.top() || withLabel.bottom() > room.bottom()) {
    verticalScrollBar()->setValue(verticalScrollBar()->value() + icon.top() -
                                  (room.height() - icon.height()) / 2);
  }
}

void CMapvineView::DeleteSelected() {
  CNode* node = SelectedNode();
  if (node == nullptr || !Prompts().AskYesNo("Delete " + node->label + "?")) return;
  DeleteNode(*node);
}

bool CMapvineView::focusNextPrevChild(bool next) {
  SelectStep(next ? 1 : -1);
  return true;
}

void CMapvineView::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  switch (event->key()) {
    case Qt::Key_Left:
      SelectToward(-1, 0);
      break;
    case Qt::Key_Right:
      SelectToward(1, 0);
      break;
    case Qt::Key_Up:
      SelectToward(0, -1);
      break;
    case Qt::Key_Down:
      SelectToward(0, 1);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (CNode* node = SelectedNode()) ShowNodeDetails(*node);
      break;
    case Qt::Key_F10:
      if (!shift) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
      }
      [[fallthrough]];
    case Qt::Key_Menu:
      if (CNode* node = SelectedNode()) {
        BuildNodeMenu(*node)->exec(viewport()->mapToGlobal(zoom_.ToViewport(node->GetCenter())));
      }
      break;
    case Qt::Key_Delete:
      DeleteSelected();
      break;
    case Qt::Key_Escape:
      ClearRoute();
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace mapvine
