#include "view/MapvineView.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>

#include "graphics/CDIBLayout.h"

namespace mapvine {

namespace {

// True when the image's colour table already is `palette`: remapping it
// again would change nothing.
bool UsesPalette(const CDIB& image, const CDIBPal& palette) {
  if (!image.HasHeader() || image.BitCount() != 8) return false;
  const auto entries = palette.Entries();
  if (image.ColorCount() != static_cast<int>(entries.size())) return false;
  const std::uint8_t* table = image.HeaderBlock() + dib::kColorTable;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::uint8_t* entry = table + 4 * i;
    if (entry[0] != entries[i].blue || entry[1] != entries[i].green ||
        entry[2] != entries[i].red) {
      return false;
    }
  }
  return true;
}

}  // namespace

CMapvineView::CMapvineView(CMapvineDoc& doc, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc) {
  // Every paint covers its whole region from the buffer: nothing needs
  // erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  SetTextDrawer(&textDrawer_);
  OnInitialUpdate();
  doc_.AttachView(this);
}

CMapvineView::~CMapvineView() {
  if (doc_.View() == this) doc_.AttachView(nullptr);
  while (waitCursorDepth_ > 0) SetWaitCursor(false);
}

void CMapvineView::MapToViewPalette(CDIB& image) {
  const CDIBPal* palette = Palette();
  if (palette == nullptr || !palette->HasPalette()) return;
  // Nodes of one kind share their icon's storage: a refresh of thousands of
  // nodes maps each icon once and finds it mapped for every other node.
  if (!UsesPalette(image, *palette)) image.RemapToPalette(*palette);
}

void CMapvineView::MapNodesToViewPalette() {
  for (const auto& node : doc_.Nodes()) {
    MapToViewPalette(*node);
    // Another sprite may have remapped the shared storage under this one.
    node->PickTransparentIndex();
  }
}

void CMapvineView::NodeChanged(CSprite& node) {
  MapToViewPalette(node);
  node.PickTransparentIndex();
  RedrawWholePicture();
}

bool CMapvineView::SetBackground(CDIB& picture) {
  if (!CreateBuffer(picture, 0, 0, doc_.mergedPalette.get())) {
    // Whatever the window showed is gone with the buffer.
    pictureSize_ = QSize();
    UpdateScrollBars();
    viewport()->update();
    return false;
  }
  // A new or opened document comes with a new background, and the node a
  // pending manual link started from belongs to the old one.
  linkMode_ = false;
  linkSource_ = nullptr;
  MapToViewPalette(picture);
  // The buffer takes the merged palette the node images are rebuilt in; an
  // image that was set outside a rebuild is brought to it here.
  MapNodesToViewPalette();
  updateGeometry();
  if (!painting) FitWindowToPicture();
  RedrawWholePicture();
  return true;
}

void CMapvineView::RedrawArea(const Rect& area) {
  Render(&area);
  CopyToScreen(&area);
}

void CMapvineView::RedrawAll() { RedrawWholePicture(); }

void CMapvineView::RedrawWholePicture() {
  copyWholeBuffer = true;
  Render(nullptr);
  CopyToScreen(nullptr);
}

void CMapvineView::RequestPictureResize(int width, int height) {
  // Layout 0: the arrangement the user chose in this view.
  doc_.ComposeBackground(nullptr, 0, width, height);
}

void CMapvineView::Pause(int milliseconds) {
  if (milliseconds <= 0) return;
  if (waitFor) {
    waitFor(milliseconds);
  } else {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
  }
}

// Nothing is composed or shown while nodes arrive.
void CMapvineView::RefreshStarted() { painting = true; }

void CMapvineView::RefreshEnded() {
  painting = false;
  OnUpdate();
}

void CMapvineView::SetWaitCursor(bool waiting) {
  if (waiting) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitCursorDepth_;
  } else if (waitCursorDepth_ > 0) {
    // Only what this view pushed is restored.
    QGuiApplication::restoreOverrideCursor();
    --waitCursorDepth_;
  }
}

void CMapvineView::SetRefreshTimer(int milliseconds) {
  refreshTimer_.stop();
  refreshPeriod_ = std::max(0, milliseconds);
  if (refreshPeriod_ > 0) refreshTimer_.start(refreshPeriod_, this);
}

void CMapvineView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == refreshTimer_.timerId()) {
    emit RefreshTimerFired();
    return;
  }
  QAbstractScrollArea::timerEvent(event);
}

void CMapvineView::Repaint() { viewport()->update(); }

void CMapvineView::RepaintIfIdle() {
  if (!painting) Repaint();
}

QSize CMapvineView::sizeHint() const {
  const int frame = 2 * frameWidth();
  if (pictureSize_.isEmpty()) return QAbstractScrollArea::sizeHint();
  return pictureSize_ + QSize(frame, frame);
}

void CMapvineView::FitWindowToResizedPicture() {
  if (pictureSize_ != fittedSize_) FitWindowToPicture();
}

void CMapvineView::FitWindowToPicture() {
  QWidget* top = window();
  fittedSize_ = pictureSize_;
  if (top->isMaximized() || top->isFullScreen() || pictureSize_.isEmpty()) return;
  if (top->layout() != nullptr) top->layout()->activate();

  // Everything around the viewport: frames, tool and status bars.
  const QSize chrome = top->size() - maximumViewportSize();
  QSize wanted = pictureSize_ + chrome;

  const QScreen* screen = top->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    top->resize(wanted);
    return;
  }
  const QSize decoration = top->frameGeometry().size() - top->size();
  const QSize room = screen->availableGeometry().size() - decoration;
  // A picture too wide for the screen brings a horizontal scroll bar, which
  // takes height from the picture, and likewise the other way round.
  if (wanted.width() > room.width()) {
    wanted.rheight() += horizontalScrollBar()->sizeHint().height();
  }
  if (wanted.height() > room.height()) {
    wanted.rwidth() += verticalScrollBar()->sizeHint().width();
  }
  top->resize(wanted.boundedTo(room));
}

}  // namespace mapvine
