#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <QSize>

#include <cstdint>
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
// Mouse interaction and context menus are not handled here yet: mouse
// events reach the base class and are ignored.
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

  // Rebuilds the node images and recomposes the background at the requested
  // picture size, then redraws everything.
  void RebuildPicture();
  // Repaints the whole window from the buffer.
  void Repaint();
  void RepaintIfIdle();

  // Nodes drawn and nodes listed by the last render.
  int DisplayedCount() const { return displayedCount_; }
  int TotalCount() const { return totalCount_; }

  // The whole picture in true colour; null without a buffer.
  QImage PictureImage() const;
  // The picture scaled to fit the printer's page, keeping its proportions.
  void PrintPicture(QPrinter& printer);

  // CommandTarget: print, print direct and print preview.
  bool OnCommand(int id) override;
  std::optional<CommandState> CommandStateOf(int id) const override;

  // Pixels the paints so far have converted from the buffer: presenting a
  // small area must cost a small conversion, whatever the picture's size.
  std::int64_t ConvertedPixelCount() const { return convertedPixels_; }

  QSize sizeHint() const override;

  // 0 tile, 1 stretch to fit, 2 centre: the layout the background is
  // composed with when the document asks for the user's choice.
  int backgroundArrangement = 0;

 signals:
  // The auto-refresh timer ticked; the application runs a refresh.
  void RefreshTimerFired();

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

  CMapvineDoc& doc_;
  QtTextDrawer textDrawer_;
  QBasicTimer refreshTimer_;
  QSize pictureSize_;
  // The viewport-sized image paints convert into, kept between paints.
  QImage frame_;
  std::int64_t convertedPixels_ = 0;
  int displayedCount_ = 0;
  int totalCount_ = 0;
  int waitCursorDepth_ = 0;
};

}  // namespace mapvine
