// The left button: dragging a node over the picture, with automatic
// scrolling at the window edges and a fast mode for large pictures, and
// completing a manual link. The right button opens a context menu
// (ViewContextMenus.cpp).
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

#include "view/MapvineView.h"

namespace mapvine {

namespace {

// Above this many displayed nodes a drag stops redrawing per move: one full
// redraw at the release keeps dragging responsive in large pictures.
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

void CMapvineView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  // Ctrl+wheel zooms around the pointer, a step per notch.
  const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
  const QPoint at = event->position().toPoint();
  for (int i = 0; i < notches; ++i) zoom_.ZoomIn(at);
  for (int i = 0; i > notches; --i) zoom_.ZoomOut(at);
  event->accept();
}

void CMapvineView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    LeftButtonDown(zoom_.ToPicture(at));
  } else if (event->button() == Qt::RightButton) {
    ShowContextMenuAt(at);
  }
  event->accept();
}

// The second press of a quick double click is a press like any other: it
// completes a link or starts a drag.
void CMapvineView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CMapvineView::mouseMoveEvent(QMouseEvent* event) {
  DragTo();
  event->accept();
}

void CMapvineView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) LeftButtonUp();
  event->accept();
}

void CMapvineView::AcknowledgeChangeAt(CNode* hitNode, Point at) {
  if (hitNode != nullptr) {
    if (hitNode->changeMark == ChangeMark::None) return;
    hitNode->changeMark = ChangeMark::None;
    OverlayChanged(hitNode->GetRect());
    emit MarkAcknowledged({ChangeMark::None, false, hitNode->fqName, {}, 0});
    return;
  }
  CLink* link = renderer_.Index().LinkAt(at);
  if (link == nullptr || link->changeMark == ChangeMark::None) return;
  link->changeMark = ChangeMark::None;
  OverlayChanged(link->bounds);
  if (link->endA && link->endB) emit MarkAcknowledged({ChangeMark::None, true, link->endA->fqName, link->endB->fqName, link->tgNumber});
}

void CMapvineView::LeftButtonDown(Point at) {
  // Also replaces the link prompt.
  doc_.ShowNodeCount(counts_.Displayed(), counts_.Total());
  CNode* hit = renderer_.Index().NodeAt(at);
  if (picks_.linkMode) {
    picks_.linkMode = false;
    CNode* source = std::exchange(picks_.linkSource, nullptr);
    // The source may have gone since the prompt.
    if (hit != nullptr && source != nullptr) {
      emit EditBegins();
      doc_.NewLink(*source, *hit);
      emit EditEnds(tr("Link"));
    }
    return;
  }
  AcknowledgeChangeAt(hit, at);
  // A click on the background lets go of the route and the selection.
  if (hit == nullptr) {
    Select(nullptr);
    ClearRoute();
    return;
  }
  if (drag_.active) return;
  emit EditBegins();
  drag_.active = true;
  picks_.dragNode = hit;
  // On a large picture the moves are shown only when the drag ends; the
  // cursor says so.
  drag_.fast = counts_.Displayed() > kFastDragNodes;
  if (drag_.fast) {
    drag_.savedCursor = viewport()->cursor();
    viewport()->setCursor(Qt::CrossCursor);
  }
  drag_.start = {hit->GetX(), hit->GetY()};
  drag_.offsetX = at.x - hit->GetX();
  drag_.offsetY = at.y - hit->GetY();
  doc_.NodeChanging(*hit);
  // Lifted while it moves, so that it passes over its equals. A fast drag
  // is lifted only at its release, with its moves: shown at the press as
  // well, the picture's nodes would be found anew twice.
  if (!drag_.fast) hit->SetDepth(hit->GetDepth() + 1);
}

bool CMapvineView::AutoScrollStep(QPoint corner, int width, int height) {
  QScrollBar& hbar = *horizontalScrollBar();
  QScrollBar& vbar = *verticalScrollBar();
  const int cw = viewport()->width();
  const int ch = viewport()->height();

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
  viewport()->repaint();
  // A fast drag's node is not reported as it moves: the window is drawn
  // anew with it where it now is.
  if (drag_.fast) OverlayChanged();
  return true;
}

void CMapvineView::DragTo() {
  if (!drag_.active || picks_.dragNode == nullptr) return;
  CNode& node = *picks_.dragNode;
  const int w = node.GetWidth();
  const int h = node.GetHeight();

  {
    // Where the cursor is now, not where the event said: while the timer
    // scrolls, the same cursor position points further into the picture.
    const Point cursor = zoom_.ToPicture(viewport()->mapFromGlobal(cursorPosition()));
    const QPoint cornerInWindow = zoom_.ToViewport(Point{cursor.x - drag_.offsetX, cursor.y - drag_.offsetY});
    const bool scrolled = AutoScrollStep(cornerInWindow, static_cast<int>(std::ceil(w * zoom_.Zoom())),
                              static_cast<int>(std::ceil(h * zoom_.Zoom())));

    // The icon and its label band stay inside the picture; in a picture
    // smaller than the icon the left and top edges win.
    const int maxX = doc_.picture.composedWidth - w;
    const int maxY = doc_.picture.composedHeight - h - CNode::kLabelBand;
    const int x = std::max(std::min(cursor.x - drag_.offsetX, maxX), 0);
    const int y = std::max(std::min(cursor.y - drag_.offsetY, maxY), 0);

    if (drag_.fast) {
      // Without its observer the move reports no changed areas: the release
      // shows the picture changed as a whole, once.
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

void CMapvineView::LeftButtonUp() {
  if (!drag_.active) return;
  drag_.active = false;
  autoScrollTimer_.stop();
  // None when the node was deleted during the drag.
  if (CNode* node = std::exchange(picks_.dragNode, nullptr)) {
    if (drag_.fast) {
      // The moves went unreported: the whole move is reported now, from
      // where the node started, so that only what it changed is read again.
      const Point end{node->GetX(), node->GetY()};
      SpriteObserver* observer = node->Observer();
      node->SetObserver(nullptr);
      node->SetPosition(drag_.start.x, drag_.start.y);
      node->SetObserver(observer);
      node->SetPosition(end.x, end.y);
      node->SetDepth(node->GetDepth() + 1);
    }
    node->SetDepth(node->GetDepth() - 1);
    if (Point{node->GetX(), node->GetY()} != drag_.start) doc_.SetModified(true);
  }
  if (drag_.fast) {
    drag_.fast = false;
    viewport()->setCursor(drag_.savedCursor);
    // The frames shown during the drag drew the node wherever it was.
    OverlayChanged();
  }
  // The glow along a route reaches past the areas a move redraws.
  if (route_.Shown()) OverlayChanged();
  emit EditEnds(tr("Move"));
}

}  // namespace mapvine
