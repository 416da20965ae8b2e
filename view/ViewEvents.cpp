// The window's events, each turned into calls on the view's parts: paints
// and scrolls on the frame, the left button on the drag, a pending link and
// the change marks, the right button on the context menus, the keyboard on
// the selection and the node commands, Ctrl+wheel on the zoom, a tooltip
// request on the picture index.
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "view/MapvineView.h"
#include "view/ToolTips.h"

namespace mapvine {

void CMapvineView::paintEvent(QPaintEvent* event) { frame_.Paint(event->region()); }

void CMapvineView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // A fitted picture stays fitted to the window it is shown in.
  if (zoom_.Fitted()) {
    zoom_.FitToWindow();
  } else {
    zoom_.UpdateScrollBars();
  }
}

void CMapvineView::scrollContentsBy(int dx, int dy) { frame_.Scroll(dx, dy); }

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
    const Point point = zoom_.ToPicture(at);
    // Also replaces the link prompt.
    doc_.ShowNodeCount(counts_.Displayed(), counts_.Total());
    CNode* hit = frame_.Renderer().Index().NodeAt(point);
    if (!nodeCommands_.CompleteLink(hit)) {
      pictureCommands_.AcknowledgeChangeAt(hit, point);
      if (hit != nullptr) {
        drag_.Start(*hit, point);
      } else {
        // A click on the background lets go of the route and the selection.
        selection_.Select(nullptr);
        route_.Clear();
      }
    }
  } else if (event->button() == Qt::RightButton) {
    // The menu takes the mouse, so the release that ends a drag under way
    // would never arrive: the drag ends here, the node dropped where it is.
    drag_.Drop();
    const std::unique_ptr<QMenu> menu = menus_.Build(zoom_.ToPicture(at));
    menu->exec(viewport()->mapToGlobal(at));
  }
  event->accept();
}

// The second press of a quick double click is a press like any other: it
// completes a link or starts a drag.
void CMapvineView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CMapvineView::mouseMoveEvent(QMouseEvent* event) {
  drag_.Follow();
  event->accept();
}

void CMapvineView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) drag_.Drop();
  event->accept();
}

// Tab and Shift+Tab move the selection through the shown nodes.
bool CMapvineView::focusNextPrevChild(bool next) {
  selection_.Step(next ? 1 : -1);
  return true;
}

// The arrow keys move the selection; Enter opens the selected node's
// details, the Menu key or Shift+F10 its context menu, Delete deletes it
// after asking. Escape clears a route.
void CMapvineView::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  switch (event->key()) {
    case Qt::Key_Left:
      selection_.Toward(-1, 0);
      break;
    case Qt::Key_Right:
      selection_.Toward(1, 0);
      break;
    case Qt::Key_Up:
      selection_.Toward(0, -1);
      break;
    case Qt::Key_Down:
      selection_.Toward(0, 1);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (CNode* node = selection_.SelectedNode()) nodeCommands_.ShowNodeDetails(*node);
      break;
    case Qt::Key_F10:
      if (!shift) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
      }
      [[fallthrough]];
    case Qt::Key_Menu:
      if (CNode* node = selection_.SelectedNode()) {
        menus_.BuildNodeMenu(*node)->exec(viewport()->mapToGlobal(zoom_.ToViewport(node->GetCenter())));
      }
      break;
    case Qt::Key_Delete:
      nodeCommands_.DeleteSelected();
      break;
    case Qt::Key_Escape:
      route_.Clear();
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
}

// Hovering a node or a link names it.
bool CMapvineView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QString tip = ToolTipAt(frame_.Renderer().Index(), zoom_.ToPicture(help->pos()));
  if (tip.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), tip, viewport());
  }
  return true;
}

}  // namespace mapvine
