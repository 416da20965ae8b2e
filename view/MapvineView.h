#pragma once

#include <QAbstractScrollArea>
#include <QSize>

#include <memory>

#include "graphics/COSBView.h"
#include "model/MapvineDoc.h"
#include "view/ChosenRoute.h"
#include "view/CommandBindings.h"
#include "view/ContextMenus.h"
#include "view/DocumentLink.h"
#include "view/KeyboardSelection.h"
#include "view/NodeCommands.h"
#include "view/NodeCounts.h"
#include "view/NodeDrag.h"
#include "view/NodeFinder.h"
#include "view/PictureCommands.h"
#include "view/PictureFrame.h"
#include "view/PicturePrinter.h"
#include "view/ViewPicks.h"
#include "view/ViewSignals.h"
#include "view/ViewZoom.h"

namespace mapvine {

// The single view of the topology document: a scrolling window that shows
// the picture at any zoom and turns the person's events into calls on its
// parts, each with one job. The picture (background, links, node icons with
// their labels) is drawn only where the window shows it (PictureFrame); the
// document talks to the view through DocumentLink.
//
// The left button drags nodes (NodeDrag), completes manual links
// (NodeCommands) and acknowledges change marks (PictureCommands); the right
// button opens the node, link or background menu (ContextMenus); the
// keyboard moves the selection (KeyboardSelection); Ctrl+wheel zooms
// (ViewZoom).
class CMapvineView : public QAbstractScrollArea, public COSBView {
  Q_OBJECT

 public:
  explicit CMapvineView(CMapvineDoc& doc, QWidget* parent = nullptr);
  ~CMapvineView() override;

  // Binds the commands of the view's parts: printing, the node and link
  // commands of the context menus, Find, the picture commands and zooming.
  // The context menus ask `commands` for their items' states.
  void BindCommands(CommandBindings& commands);

  // What the document asks of the window.
  DocumentView& Document() { return document_; }
  // What the view tells the rest of the program.
  ViewSignals& Signals() { return signals_; }
  // The picture as the window shows it, and whole.
  PictureFrame& Frame() { return frame_; }
  // The zoom the picture is shown at, with the scroll position.
  ViewZoom& Zooming() { return zoom_; }
  const ViewZoom& Zooming() const { return zoom_; }
  // Nodes shown and nodes listed, as the status bar says them.
  const NodeCounts& Counts() const { return counts_; }
  // What the person picked: the menus' node and link, the dragged node, a
  // pending link's source, the selection.
  ViewPicks& Picks() { return picks_; }
  KeyboardSelection& Selection() { return selection_; }
  NodeDrag& Drag() { return drag_; }
  ContextMenus& Menus() { return menus_; }
  // The route between two chosen nodes.
  ChosenRoute& Route() { return route_; }
  // Find, and a found node's blink.
  NodeFinder& Finder() { return finder_; }
  // What the picture shows and how: background arrangement, dashes.
  PictureCommands& Picture() { return pictureCommands_; }
  // Printing the picture, with its page setup and layout.
  PicturePrinter& Printing() { return printer_; }

  QSize sizeHint() const override;

 protected:
  // COSBView
  void ExposeArea(const Rect& area) override;
  Rect VisibleArea() const override;
  void SetScrollSizes(int width, int height) override;
  void PictureAreaChanged(const Rect& area) override;
  void WholePictureChanged() override;
  void BatchFinished() override;

  // Qt (ViewEvents.cpp)
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool viewportEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  CMapvineDoc& doc_;
  ViewSignals signals_;
  ViewZoom zoom_;
  PictureFrame frame_;
  NodeCounts counts_;
  ViewPicks picks_;
  ChosenRoute route_{*this, doc_, counts_};
  KeyboardSelection selection_{doc_, *this, *this, zoom_, picks_};
  NodeDrag drag_{doc_, *this, *this, zoom_, picks_, counts_, route_, signals_};
  ContextMenus menus_{picks_, frame_.Renderer().Index(), signals_};
  PicturePrinter printer_{*this, [this] { return frame_.PictureImage(); }, [this] { return HasBuffer(); }};
  NodeCommands nodeCommands_{doc_, *this, *this, document_, picks_, selection_, route_, signals_};
  NodeFinder finder_{doc_, *this, *this, zoom_, route_, nodeCommands_};
  PictureCommands pictureCommands_{doc_, *this, *this, frame_.Renderer(), signals_};
  DocumentLink document_{doc_,   *this,  *this,         zoom_,  frame_, counts_, picks_,
                         route_, finder_.Blink(), pictureCommands_};
};

}  // namespace mapvine
