#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QSize>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "graphics/COSBView.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"
#include "model/Route.h"
#include "view/CommandBindings.h"
#include "view/PicturePrinter.h"
#include "view/ChosenRoute.h"
#include "view/NodeBlink.h"
#include "view/NodeCounts.h"
#include "view/ViewPicks.h"
#include "view/ViewZoom.h"
#include "dialogs/FindDialog.h"
#include "render/PictureRenderer.h"
#include "render/QtTextDrawer.h"

namespace mapvine {

// The single view of the topology document. The picture (background, links,
// node icons with their labels) is drawn only where the window shows it:
// each paint composes the exposed area at the current zoom and converts it
// through the picture's palette; the widget's own double buffering keeps
// the picture from flickering. Below 100% the picture is drawn with less
// detail (render/PictureRenderer.h); at 100% and above its pixels are those of
// the whole picture drawn at once.
//
// The left button drags nodes and completes manual links, the right button
// opens the node, link or background menu; the node and link commands of
// those menus are the view's own.
class CMapvineView : public QAbstractScrollArea,
                     public COSBView,
                     public DocumentView {
  Q_OBJECT

 public:
  explicit CMapvineView(CMapvineDoc& doc, QWidget* parent = nullptr);
  ~CMapvineView() override;

  // DocumentView
  COSBView& OffscreenView() override { return *this; }
  void NodeChanged(CNode& node) override;
  bool SetBackground(ComposedBackground& background) override;
  void RequestPictureResize(int width, int height) override;
  BackgroundArrangement ChosenArrangement() const override { return backgroundArrangement; }
  void BatchStarted() override;
  void BatchEnded() override;
  // What the menus, a drag, a pending link, the selection, the route, a
  // blink or an open detail dialog point at is let go of here, and only here.
  void NodeRemoving(const CNode& node) override;
  void LinkRemoving(const CLink& link) override;
  void AllRemoving() override;

  // The whole picture at 100% in its palette, without what lies over it;
  // null without a picture or when its image cannot be allocated.
  std::unique_ptr<CDIBSurface> PalettedPicture();
  // Draws `area` of the picture at 100% into `window`, an image in the
  // picture's palette showing the picture from `origin` on, without what
  // lies over it.
  void DrawPalettedArea(CDIB& window, Point origin, const Rect& area);

  // The zoom the picture is shown at, with the scroll position.
  ViewZoom& Zooming() { return zoom_; }
  const ViewZoom& Zooming() const { return zoom_; }

  // Nodes shown and nodes listed, as the status bar says them.
  int DisplayedCount() const { return counts_.Displayed(); }
  int TotalCount() const { return counts_.Total(); }

  // The whole picture at 100% in true colour with what lies over it, for
  // printing, --render and comparisons; null without a buffer.
  QImage PictureImage();
  // Shows the node with this label or network-qualified name as Find does:
  // scrolled into the middle of the window and blinking, and shown if it
  // was hidden. False when no node has it.
  bool LocateNode(std::string_view name);
  // Printing the picture, with its page setup and layout.
  PicturePrinter& Printing() { return printer_; }

  // Binds printing, the node and link commands of the context menus, the
  // picture commands and zooming (ViewCommands.cpp). The context menus ask
  // `commands` for their items' states.
  void BindCommands(CommandBindings& commands);

  // The context menu for a right click at `picturePoint`; records what the
  // click hit (MenuNode, MenuLink, MenuOnNode) as the click itself does.
  // Choosing an item emits CommandChosen.
  std::unique_ptr<QMenu> BuildContextMenu(Point picturePoint);
  // The node menu for `node`, as a right click on it opens.
  std::unique_ptr<QMenu> BuildNodeMenu(CNode& node);
  // Opens that menu at a point of the viewport and waits for the choice.
  void ShowContextMenuAt(QPoint viewportPos);

  // What the last right click hit; the icon commands act on it. A node or
  // link that has left the document since reads as none.
  CNode* MenuNode() const { return picks_.menuNode; }
  CLink* MenuLink() const { return picks_.menuLink; }
  bool MenuOnNode() const { return picks_.menuOnNode; }
  bool Dragging() const { return drag_.active; }
  CNode* DragNode() const { return picks_.dragNode; }
  bool LinkMode() const { return picks_.linkMode; }
  // Lets go of the nodes and links the menus, a drag or a pending link point
  // at, before something other than this view takes them out of the picture.
  void ForgetPicks();

  QSize sizeHint() const override;

  // The route between two chosen nodes: highlighted over a dimmed picture
  // until cleared (Escape, a click on the background). Either end may be
  // chosen first; the route shows once both are.
  void SetRouteStart(CNode& node);
  void SetRouteEnd(CNode& node);
  void ClearRoute();
  // The route shown; kind None while no route is shown.
  const Route& ShownRoute() const { return route_.Found(); }

  // The node the keyboard acts on; none when no node is selected.
  CNode* SelectedNode() const;
  void Select(CNode* node);

  // Inactive links are drawn dashed as well as red.
  void SetMarkInactiveLinks(bool mark);

  // Where the mouse cursor is, in screen coordinates. The drag polls it
  // rather than trusting the event, so that a node held beyond a window
  // edge keeps scrolling the picture without further moves.
  std::function<QPoint()> cursorPosition = [] { return QCursor::pos(); };

  // A found node's blink.
  NodeBlink& Blink() { return blink_; }

  // The layout the background is composed with when the document asks for
  // the user's choice.
  BackgroundArrangement backgroundArrangement = BackgroundArrangement::Tile;

 signals:
  // A context-menu item was chosen; the main window routes the command
  // (to this view first).
  void CommandChosen(int id);
  // The person switched "Mark inactive links"; the setting outlives the
  // session.
  void MarkInactiveLinksChanged(bool mark);

  // A person starts changing the picture with the mouse (a drag, a link),
  // and is done; EditEnds names the change.
  void EditBegins();
  void EditEnds(const QString& name);

  // The person acknowledged one mark (a click on it), or every mark; the
  // change names the resource as a refresh does.
  void MarkAcknowledged(const mapvine::TopologyChange& resource);
  void AllMarksAcknowledged();

  // The zoom factor changed (or Fit to Window was chosen).
  void ZoomChanged(double zoom, bool fitted);

 protected:
  // COSBView
  void ExposeArea(const Rect& area) override;
  Rect VisibleArea() const override;
  void SetScrollSizes(int width, int height) override;
  void PictureAreaChanged(const Rect& area) override;
  void WholePictureChanged() override;
  void BatchFinished() override;

  // Qt
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool viewportEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Marks a rectangle of the window to be drawn anew from the picture at
  // the next paint.
  void MarkFrameStale(const QRect& r);
  // Draws the exposed viewport rectangle `r` into frame_.image.
  void DrawExposed(QRect r);

  // Mouse handling.
  void LeftButtonDown(Point at);
  // A click on a node's or link's change mark acknowledges that change.
  void AcknowledgeChangeAt(CNode* hitNode, Point at);
  void DragTo();
  // Scrolls one auto-scroll step towards a node corner held at window
  // position `corner` beyond an edge; false when nothing scrolled.
  bool AutoScrollStep(QPoint corner, int width, int height);
  void LeftButtonUp();

  // What is drawn over the picture: the route and the keyboard selection.
  ViewOverlays Overlays() const;
  // Shows the route between the ends just chosen.
  void ShowNewRoute();
  // Brings the counts and the route up to date after what changed, and
  // says them in the status bar when they changed.
  void SettleStatus();
  // The node count, or the route's summary while one is chosen.
  void ShowStatus();

  // Keyboard: selection moves, and the selected node's details, menu and
  // deletion.
  void SelectStep(int step);
  void SelectToward(int dx, int dy);
  void ScrollToShow(const CNode& node);
  void DeleteSelected();
  // The text a tooltip shows for what lies under `at`; empty over the
  // background.
  QString ToolTipAt(Point at);

  // Node and link commands of the context menus.
  // Pinning and neighbourhoods (ViewNeighbourhood.cpp). The centre is the
  // node whose menu is open, else the selected one.
  void TogglePin();
  void ToggleLuFold();
  CommandState LuFoldState() const;
  CNode* NeighbourhoodCentre() const;
  void AskAndShowNeighbourhood(CNode& node);
  void ShowEveryNode();
  void StartLink();
  void HideMenuNode();
  void MoveMenuNodeDepth(int step);
  void SetNeighborsHidden(bool hidden);
  void DeleteMenuLink();
  void DeleteNode(CNode& node);
  // The detail dialog of the node or link under the last right click.
  void ShowMenuDetails();
  void ShowNodeDetails(CNode& node);
  void ShowLinkDetails(CLink& link);
  // Runs `Dialog` on `texts` and writes its edits back to `item` on OK;
  // false on Cancel or when the item left the document meanwhile.
  template <typename Dialog, typename Item, typename Texts>
  bool EditDetails(Item& item, const Texts& texts);

  // Find, show hidden nodes, resize, background arrangement, hide and show
  // all of a class.
  void FindResourceByName();
  // Brings a found node into sight (showing it if it was hidden), then
  // blinks it or makes it an end of the route, as chosen.
  void ShowFound(CNode& node, FindDialog::Choice choice);
  // Scrolls the node to the middle of the window when the picture does not
  // fit in it.
  void CentreOn(const CNode& node);
  // Puts the image of `slot` on the node, for its blink, and shows it.
  void ShowBlinkImage(CNode& node, int slot);
  void ShowChosenHiddenNodes();
  void ResizeBackground();
  void ArrangeBackground(BackgroundArrangement arrangement);
  // The arrangement the background is laid out in: the one chosen here, or
  // the one a saved picture brought.
  BackgroundArrangement ShownArrangement() const;

  CMapvineDoc& doc_;
  PictureRenderer renderer_{doc_};
  QtTextDrawer textDrawer_;
  ViewZoom zoom_;
  // A dragged node held beyond an edge scrolls the picture a step per tick.
  QBasicTimer autoScrollTimer_;
  NodeBlink blink_{[this](CNode& node, int slot) { ShowBlinkImage(node, slot); }};
  // The document's batches under way, held as one of the buffer's.
  int batchDepth_ = 0;
  std::optional<Batch> documentBatch_;
  // What the window shows, kept between paints: a scroll moves it and
  // draws only the strip it uncovers.
  struct ShownFrame {
    QImage image;  // in true colour
    // The parts of the image that no longer show the picture.
    QRegion stale;
    // The picture's colour table in true colour, as the paints use it.
    std::array<QRgb, 256> colors{};
  };
  ShownFrame frame_;
  NodeCounts counts_;

  // A node dragged with the left button.
  struct DragState {
    bool active = false;
    // On a large picture the moves are shown only when the drag ends.
    bool fast = false;
    Point start;
    int offsetX = 0;
    int offsetY = 0;
    QCursor savedCursor;
  };
  DragState drag_;
  ViewPicks picks_;
  ChosenRoute route_;

  const CommandBindings* commands_ = nullptr;  // where the commands were bound
  PicturePrinter printer_{*this, [this] { return PictureImage(); }, [this] { return HasBuffer(); }};
};

}  // namespace mapvine
