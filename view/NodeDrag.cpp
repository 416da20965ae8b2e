#include "view/NodeDrag.h"

#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace mapvine {

namespace {

// Above this many displayed nodes a drag does not show each move: the
// release reports the whole move, from where the node started, and draws
// the window once, which keeps dragging responsive in large pictures.
constexpr int kFastDragNodes = 100;
// Pixels of overshoot beyond a window edge per scroll line of a step.
constexpr int kOvershootPerLine = 10;
// Scrolling down starts this far before the icon reaches the bottom edge,
// so that its label comes into sight too.
constexpr int kBottomScrollMargin = 20;
constexpr int kAutoScrollPauseMs = 50;

// A step towards the start of the scroll range for a corner `overshoot`
// (negative) pixels before the window edge: at least a line, at most a page.
int BackwardStep(int overshoot, int line, int page) {
  return std::min(std::max(overshoot / kOvershootPerLine * line, -page), -line);
}

// The same towards the end of the range.
int ForwardStep(int overshoot, int line, int page) {
  return std::max(std::min(overshoot / kOvershootPerLine * line, page), line);
}

}  // namespace

NodeDrag::NodeDrag(CMapvineDoc& doc, COSBView& picture, QAbstractScrollArea& window, const ViewZoom& zoom,
                   ViewPicks& picks, const NodeCounts& counts, const ChosenRoute& route, ViewSignals& viewSignals)
    : doc_(doc),
      picture_(picture),
      window_(window),
      zoom_(zoom),
      picks_(picks),
      counts_(counts),
      route_(route),
      signals_(viewSignals) {}

void NodeDrag::Start(CNode& node, Point at) {
  if (active_) return;
  emit signals_.EditBegins();
  active_ = true;
  picks_.dragNode = &node;
  // On a large picture the moves are shown only when the drag ends; the
  // cursor says so.
  fast_ = counts_.Displayed() > kFastDragNodes;
  if (fast_) {
    savedCursor_ = window_.viewport()->cursor();
    window_.viewport()->setCursor(Qt::CrossCursor);
  }
  start_ = {node.GetX(), node.GetY()};
  offset_ = {at.x - node.GetX(), at.y - node.GetY()};
  doc_.NodeChanging(node);
  // Lifted while it moves, so that it passes over its equals. A fast drag
  // is lifted only at its release, with its moves: shown at the press as
  // well, the picture's nodes would be found anew twice.
  if (!fast_) node.SetDepth(node.GetDepth() + 1);
}

bool NodeDrag::AutoScrollStep(QPoint corner, int width, int height) {
  QScrollBar& hbar = *window_.horizontalScrollBar();
  QScrollBar& vbar = *window_.verticalScrollBar();
  const int cw = window_.viewport()->width();
  const int ch = window_.viewport()->height();

  int dy = 0;
  if (corner.y() < 0 && vbar.value() > vbar.minimum()) {
    dy = BackwardStep(corner.y(), vbar.singleStep(), vbar.pageStep());
  } else if (corner.y() + height + kBottomScrollMargin > ch && vbar.value() < vbar.maximum()) {
    dy = ForwardStep(corner.y() - ch, vbar.singleStep(), vbar.pageStep());
  }
  int dx = 0;
  if (corner.x() < 0 && hbar.value() > hbar.minimum()) {
    dx = BackwardStep(corner.x(), hbar.singleStep(), hbar.pageStep());
  } else if (corner.x() + width > cw && hbar.value() < hbar.maximum()) {
    dx = ForwardStep(corner.x() - cw, hbar.singleStep(), hbar.pageStep());
  }
  // At the ends of the ranges nothing scrolls, which ends the drag loop even
  // while the cursor stays beyond the edge.
  if (dx == 0 && dy == 0) return false;

  hbar.setValue(hbar.value() + dx);
  vbar.setValue(vbar.value() + dy);
  window_.viewport()->repaint();
  // A fast drag's node is not reported as it moves: the window is drawn
  // anew with it where it now is.
  if (fast_) picture_.OverlayChanged();
  return true;
}

void NodeDrag::Follow() {
  if (!active_ || picks_.dragNode == nullptr) return;
  CNode& node = *picks_.dragNode;
  const int w = node.GetWidth();
  const int h = node.GetHeight();

  {
    // Where the cursor is now, not where the event said: while the timer
    // scrolls, the same cursor position points further into the picture.
    const Point cursor = zoom_.ToPicture(window_.viewport()->mapFromGlobal(cursorPosition()));
    const QPoint cornerInWindow = zoom_.ToViewport(Point{cursor.x - offset_.x, cursor.y - offset_.y});
    const bool scrolled = AutoScrollStep(cornerInWindow, static_cast<int>(std::ceil(w * zoom_.Zoom())),
                              static_cast<int>(std::ceil(h * zoom_.Zoom())));

    // The icon and its label band stay inside the picture; in a picture
    // smaller than the icon the left and top edges win.
    const int maxX = doc_.picture.composedWidth - w;
    const int maxY = doc_.picture.composedHeight - h - CNode::kLabelBand;
    const int x = std::max(std::min(cursor.x - offset_.x, maxX), 0);
    const int y = std::max(std::min(cursor.y - offset_.y, maxY), 0);

    if (fast_) {
      // Without its observer the move reports no changed areas: the release
      // reports the whole move, once.
      SpriteObserver* observer = node.Observer();
      node.SetObserver(nullptr);
      node.SetPosition(x, y);
      node.SetObserver(observer);
    } else {
      node.SetPosition(x, y);
    }
    // While the cursor holds the node beyond an edge, the picture goes on
    // scrolling without further moves, a step per tick, until the range ends.
    if (scrolled) {
      if (!autoScrollTimer_.isActive()) autoScrollTimer_.start(kAutoScrollPauseMs, this);
    } else {
      autoScrollTimer_.stop();
    }
  }
}

void NodeDrag::Drop() {
  if (!active_) return;
  active_ = false;
  autoScrollTimer_.stop();
  // None when the node was deleted during the drag.
  if (CNode* node = std::exchange(picks_.dragNode, nullptr)) {
    if (fast_) {
      // The moves went unreported: the whole move is reported now, from
      // where the node started, so that only what it changed is read again.
      const Point end{node->GetX(), node->GetY()};
      SpriteObserver* observer = node->Observer();
      node->SetObserver(nullptr);
      node->SetPosition(start_.x, start_.y);
      node->SetObserver(observer);
      node->SetPosition(end.x, end.y);
      node->SetDepth(node->GetDepth() + 1);
    }
    node->SetDepth(node->GetDepth() - 1);
    if (Point{node->GetX(), node->GetY()} != start_) doc_.SetModified(true);
  }
  if (fast_) {
    fast_ = false;
    window_.viewport()->setCursor(savedCursor_);
    // The frames shown during the drag drew the node wherever it was.
    picture_.OverlayChanged();
  }
  // The glow along a route reaches past the areas a move redraws.
  if (route_.Shown()) picture_.OverlayChanged();
  emit signals_.EditEnds(QObject::tr("Move"));
}

void NodeDrag::timerEvent(QTimerEvent* event) {
  if (event->timerId() != autoScrollTimer_.timerId()) return QObject::timerEvent(event);
  if (active_) {
    Follow();
  } else {
    autoScrollTimer_.stop();
  }
}

}  // namespace mapvine
