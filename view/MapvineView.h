#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "graphics/COSBView.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"
#include "view/CommandTarget.h"
#include "view/QtTextDrawer.h"

class QPrinter;

namespace mapvine {

// The single view of the topology document. The picture (background, links,
// node icons with their labels) is composed into the 8-bit off-screen
// buffer of COSBView and presented by converting only the exposed part of it
// through the buffer's colour table; the widget's own double buffering
// keeps the picture from flickering.
//
// The left button drags nodes and completes manual links, the right button
// opens the node, link or background menu; the node and link commands of
// those menus are the view's own.
class CMapvineView : public QAbstractScrollArea,
                     public COSBView,
                     public DocumentView,
                     public CommandTarget {
  Q_OBJECT

 public:
  explicit CMapvineView(CMapvineDoc& doc, QWidget* parent = nullptr);
  ~CMapvineView() override;

  // DocumentView
  COSBView& OffscreenView() override { return *this; }
  void NodeChanged(CSprite& node) override;
  bool SetBackground(CDIB& picture) override;
  void RedrawArea(const Rect& area) override;
  void RedrawAll() override;
  void RequestPictureResize(int width, int height) override;
  int BackgroundArrangement() const override { return backgroundArrangement; }
  void Pause(int milliseconds) override;
  void SetWaitCursor(bool waiting) override;
  void SetRefreshTimer(int milliseconds) override;

  // Composes `clip` of the picture (all of it when null) into the buffer and
  // shows the node count in the status bar.
  void Render(const Rect* clip) override;

  // Repaints the whole window from the buffer.
  void Repaint();
  void RepaintIfIdle();

  // Nodes drawn and nodes listed by the last render.
  int DisplayedCount() const { return displayedCount_; }
  int TotalCount() const { return totalCount_; }

  // The whole picture in true colour; null without a buffer.
  QImage PictureImage() const;
  // Shows the node with this label or network-qualified name as Find does:
  // scrolled into the middle of the window and blinking. False when no node
  // has it.
  bool LocateNode(std::string_view name);
  // The picture scaled to fit the printer's page, keeping its proportions.
  // False when nothing was printed: no picture, or the printer would not
  // start.
  bool PrintPicture(QPrinter& printer);
  // Prints, or tells the user why the picture was not printed.
  void PrintOrSayWhy(QPrinter& printer);

  // CommandTarget: printing, and the node and link commands of the
  // context menus.
  bool OnCommand(int id) override;
  std::optional<CommandState> CommandStateOf(int id) const override;

  // Pixels the paints so far have converted from the buffer: presenting a
  // small area must cost a small conversion, whatever the picture's size.
  std::int64_t ConvertedPixelCount() const { return convertedPixels_; }

  // Renders of the whole picture so far: a fast drag must end in exactly
  // one, whatever the number of moves.
  int FullRenderCount() const { return fullRenderCount_; }

  // The context menu for a right click at `picturePoint`; records what the
  // click hit (MenuNode, MenuLink, MenuOnNode) as the click itself does.
  // Choosing an item emits CommandChosen.
  std::unique_ptr<QMenu> BuildContextMenu(Point picturePoint);
  // Opens that menu at a point of the viewport and waits for the choice.
  void ShowContextMenuAt(QPoint viewportPos);

  // What the last right click hit; the icon commands act on it. A node or
  // link that has left the document since reads as none.
  CSprite* MenuNode() const;
  CLink* MenuLink() const;
  bool MenuOnNode() const { return menuOnNode_; }
  bool Dragging() const { return dragging_; }
  CSprite* DragNode() const { return dragNode_; }
  bool LinkMode() const { return linkMode_; }

  QSize sizeHint() const override;

  // Where the mouse cursor is, in screen coordinates. The drag polls it
  // rather than trusting the event, so that a node held beyond a window
  // edge keeps scrolling the picture without further moves.
  std::function<QPoint()> cursorPosition = [] { return QCursor::pos(); };

  // How Pause waits. It blocks on purpose, so that user input waits until
  // the command is done; tests replace it to see each pause without waiting.
  std::function<void(int milliseconds)> waitFor;

  // The auto-refresh period in milliseconds; 0 while the timer is stopped.
  int RefreshTimerPeriod() const { return refreshPeriod_; }

  // 0 tile, 1 stretch to fit, 2 centre: the layout the background is
  // composed with when the document asks for the user's choice.
  int backgroundArrangement = 0;

 signals:
  // The auto-refresh timer ticked; the application runs a refresh.
  void RefreshTimerFired();
  // A context-menu item was chosen; the main window routes the command
  // (to this view first).
  void CommandChosen(int id);

 protected:
  // COSBView
  void PresentRect(const CDIBSurface& surface, const CDIBPal* palette, const Rect& area) override;
  Rect VisibleArea() const override;
  Point ScrollPosition() const override;
  void SetScrollSizes(int width, int height) override;

  // Qt
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Brings an image to the buffer's palette unless it already is there.
  void MapToViewPalette(CDIB& image);
  void MapNodesToViewPalette();
  // The standard redraw: everything composed and presented.
  void RedrawWholePicture();
  void UpdateScrollBars();
  // Grows or shrinks the top-level window so the picture shows without
  // scroll bars, as far as the screen allows.
  void FitWindowToPicture();
  // Fits the window once the picture has a size it was not fitted to: a
  // refresh grows the picture while nothing is shown, and the window
  // follows when the whole picture is drawn.
  void FitWindowToResizedPicture();

  // Mouse handling.
  Point ToPicture(QPoint viewportPos) const;
  void LeftButtonDown(Point at);
  // A click on a node's or link's change mark acknowledges that change.
  void AcknowledgeChangeAt(CSprite* hitNode, Point at);
  void DragTo();
  // Scrolls one auto-scroll step towards a node corner held at window
  // position `corner` beyond an edge; false when nothing scrolled.
  bool AutoScrollStep(QPoint corner, int width, int height);
  void LeftButtonUp();

  // Node and link commands of the context menus.
  bool OnNodeCommand(int id);
  std::optional<CommandState> NodeCommandState(int id) const;
  bool InDocument(const CSprite* node) const;
  bool InDocument(const CLink* link) const;
  void StartLink();
  void HideMenuNode();
  void MoveMenuNodeDepth(int step);
  void SetNeighborsHidden(int hidden);
  void DeleteMenuLink();
  void DeleteMenuNode();
  // The detail dialog of the node or link under the last right click.
  void ShowMenuDetails();
  void ShowNodeDetails(CSprite& node);
  void ShowLinkDetails(CLink& link);
  // Runs `Dialog` on `texts` and writes its edits back to `item` on OK;
  // false on Cancel or when the item left the document meanwhile.
  template <typename Dialog, typename Item, typename Texts>
  bool EditDetails(Item& item, const Texts& texts);

  // Find, show hidden nodes, resize, background arrangement, hide and show
  // all of a class.
  bool OnPictureCommand(int id);
  std::optional<CommandState> PictureCommandState(int id) const;
  void FindResourceByName();
  // Scrolls the node to the middle of the window when the picture does not
  // fit in it.
  void CentreOn(const CSprite& node);
  // Shows the node's other image and back, four times over.
  void Blink(CSprite& node);
  void ShowChosenHiddenNodes();
  void ResizeBackground();
  void ArrangeBackground(int arrangement);

  CMapvineDoc& doc_;
  QtTextDrawer textDrawer_;
  QBasicTimer refreshTimer_;
  int refreshPeriod_ = 0;
  QSize pictureSize_;
  // The picture size the window was last fitted to.
  QSize fittedSize_;
  // The viewport-sized image paints convert into, kept between paints.
  QImage frame_;
  std::int64_t convertedPixels_ = 0;
  int displayedCount_ = 0;
  int totalCount_ = 0;
  int waitCursorDepth_ = 0;
  int fullRenderCount_ = 0;

  // Interaction state. The node and link references are not owned; every
  // deletion through this view clears the ones it invalidates.
  bool dragging_ = false;
  bool linkMode_ = false;
  bool fastDrag_ = false;
  CSprite* dragNode_ = nullptr;
  CSprite* linkSource_ = nullptr;
  Point dragStart_;
  int dragOffsetX_ = 0;
  int dragOffsetY_ = 0;
  CSprite* menuNode_ = nullptr;
  CLink* menuLink_ = nullptr;
  bool menuOnNode_ = false;
  QCursor savedCursor_;
};

}  // namespace mapvine
