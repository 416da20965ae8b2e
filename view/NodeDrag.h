#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QCursor>
#include <QObject>
#include <QPoint>

#include <functional>

#include "graphics/COSBView.h"
#include "model/MapvineDoc.h"
#include "view/ChosenRoute.h"
#include "view/NodeCounts.h"
#include "view/ViewPicks.h"
#include "view/ViewSignals.h"
#include "view/ViewZoom.h"

namespace mapvine {

// A node dragged with the left button over the picture, with automatic
// scrolling at the window edges and, on a large picture, a fast mode that
// shows the moves only when the drag ends. The dragged node is one of the
// picks, where a node deleted meanwhile lets go of it.
class NodeDrag final : public QObject {
 public:
  NodeDrag(CMapvineDoc& doc, COSBView& picture, QAbstractScrollArea& window, const ViewZoom& zoom,
           ViewPicks& picks, const NodeCounts& counts, const ChosenRoute& route, ViewSignals& viewSignals);

  // Picks up `node`, pressed at picture point `at`; nothing while a drag is
  // under way.
  void Start(CNode& node, Point at);
  // Moves the node to where the cursor is now.
  void Follow();
  // Drops the node where it is and ends the drag.
  void Drop();
  bool Active() const { return active_; }

  // Where the mouse cursor is, in screen coordinates. The drag polls it
  // rather than trusting the event, so that a node held beyond a window
  // edge keeps scrolling the picture without further moves.
  std::function<QPoint()> cursorPosition = [] { return QCursor::pos(); };

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  // Scrolls one auto-scroll step towards a node corner held at window
  // position `corner` beyond an edge; false when nothing scrolled.
  bool AutoScrollStep(QPoint corner, int width, int height);

  CMapvineDoc& doc_;
  COSBView& picture_;
  QAbstractScrollArea& window_;
  const ViewZoom& zoom_;
  ViewPicks& picks_;
  const NodeCounts& counts_;
  const ChosenRoute& route_;
  ViewSignals& signals_;
  // A dragged node held beyond an edge scrolls the picture a step per tick.
  QBasicTimer autoScrollTimer_;
  bool active_ = false;
  // On a large picture the moves are shown only when the drag ends.
  bool fast_ = false;
  Point start_;
  Point offset_;
  QCursor savedCursor_;
};

}  // namespace mapvine
