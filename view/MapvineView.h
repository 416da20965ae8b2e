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
#include "view/ViewPicks.h"
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
  void RedrawArea(const Rect& area) override;
  void RedrawAll() override;
  void RequestPictureResize(int width, int height) override;
  BackgroundArrangement ChosenArrangement() const override { return backgroundArrangement; }
  void BatchStarted() override;
  void BatchEnded() override;
  // What the menus, a drag, a pending link, the selection, the route, a
  // blink or an open detail dialog point at is let go of here, and only here.
  void NodeRemoving(const CNode& node) override;
  void LinkRemoving(const CLink& link) override;
  void AllRemoving() override;

  // Takes note that `clip` of the picture (all of it when null) changed, so
  // that it is drawn anew where shown, and shows the node count in the
  // status bar.
  void Render(const Rect* clip) override;
  // The whole picture at 100% in its palette, without what lies over it;
  // null without a picture or when its image cannot be allocated.
  std::unique_ptr<CDIBSurface> RenderWholePicture();
  // Draws `area` of the picture at 100% into `window`, an image in the
  // picture's palette showing the picture from `origin` on, without what
  // lies over it.
  void RenderArea(CDIB& window, Point origin, const Rect& area);

  // The zoom factor: 1 shows the picture at its own size. It runs from
  // MinimumZoom (the whole picture fits the window, or 100% when it fits
  // already) to kMaxZoom.
  static constexpr double kMaxZoom = 4.0;
  double Zoom() const { return zoom_; }
  double MinimumZoom() const;
  // The zoom at which the whole picture just fits the window.
  double FitZoom() const;
  // Zooms keeping the picture point under `anchor` (viewport coordinates)
  // where it is; the viewport's centre when none is given.
  void SetZoom(double zoom, std::optional<QPoint> anchor = std::nullopt);
  void ZoomIn(std::optional<QPoint> anchor = std::nullopt);
  void ZoomOut(std::optional<QPoint> anchor = std::nullopt);
  void FitToWindow();
  // Whether the last zoom was Fit to Window (the window's size decides it).
  bool Fitted() const { return fitted_; }

  // Repaints the whole window from the buffer.
  void Repaint();

  // Nodes drawn and nodes listed by the last render.
  int DisplayedCount() const { return displayedCount_; }
  int TotalCount() const { return totalCount_; }

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

  // A found node is blinking; each tick of its timer is one BlinkPhase,
  // which tests call to step through a blink without waiting.
  bool Blinking() const { return blink_.has_value(); }
  void BlinkPhase();

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
  void PresentRect(const Rect& area) override;
  Rect VisibleArea() const override;
  void SetScrollSizes(int width, int height) override;
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
  // The standard redraw: everything composed and presented.
  void RedrawWholePicture();
  void UpdateScrollBars();
  // The scroll bars' values: where the shown picture starts, zoomed.
  Point ScrollPosition() const;
  // The picture's size at the current zoom, in window pixels.
  QSize ZoomedPictureSize() const;
  // Picture rectangle to viewport rectangle at the current zoom and scroll.
  QRect ToViewport(const Rect& area) const;
  // Marks the whole window, or one rectangle of it, to be drawn anew from
  // the picture at the next paint.
  void InvalidateFrame();
  void InvalidateFrame(const QRect& r);
  // Draws the exposed viewport rectangle `r` into frame_.image.
  void DrawExposed(QRect r);
  // Grows or shrinks the top-level window so the picture shows without
  // scroll bars, as far as the screen allows.
  void FitWindowToPicture();
  // Fits the window once the picture has a size it was not fitted to: a
  // refresh grows the picture while nothing is shown, and the window
  // follows when the whole picture is drawn.
  void FitWindowToResizedPicture();

  // Mouse handling.
  Point ToPicture(QPoint viewportPos) const;
  // A picture point in viewport coordinates.
  QPoint ToViewport(Point p) const;
  void LeftButtonDown(Point at);
  // A click on a node's or link's change mark acknowledges that change.
  void AcknowledgeChangeAt(CNode* hitNode, Point at);
  // Only what the view draws over the picture changed in `area` (the
  // selection, a change mark): shown anew without finding the picture's
  // nodes and links again, which on a large picture costs a frame's time.
  void RepaintArea(const Rect& area);
  void DragTo();
  // Scrolls one auto-scroll step towards a node corner held at window
  // position `corner` beyond an edge; false when nothing scrolled.
  bool AutoScrollStep(QPoint corner, int width, int height);
  void LeftButtonUp();

  // What is drawn over the picture: the route and the keyboard selection.
  ViewOverlays Overlays() const;
  // Shows the route between the ends just chosen.
  void ShowNewRoute();
  void ShowRouteStatus();

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
  void DeleteMenuNode();
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
  // Shows the node's other image and back, four times over, a phase per
  // tick of a timer; a blink still under way ends at once.
  void Blink(CNode& node);
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
  double zoom_ = 1.0;
  bool fitted_ = false;
  // A dragged node held beyond an edge scrolls the picture a step per tick.
  QBasicTimer autoScrollTimer_;
  // A found node shows its other image and back, a phase per tick.
  QBasicTimer blinkTimer_;
  struct BlinkState {
    CNode* node;  // forgotten at once when it leaves the document
    int shown;      // the image it showed before, and shows again at the end
    int other;
    int phase;
  };
  std::optional<BlinkState> blink_;
  // The document's batches under way, held as one of the buffer's.
  int batchDepth_ = 0;
  std::optional<Batch> documentBatch_;
  QSize pictureSize_;
  // The picture size the window was last fitted to.
  QSize fittedSize_;
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
  int displayedCount_ = 0;
  int totalCount_ = 0;

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
