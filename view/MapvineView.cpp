#include "view/MapvineView.h"

#include <QTimerEvent>

#include "render/PaletteMapping.h"

namespace mapvine {

CMapvineView::CMapvineView(CMapvineDoc& doc, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), zoom_(*this, [this](bool changed) {
        // A new zoom or a new scroll position shows every pixel anew.
        MarkFrameStale(viewport()->rect());
        if (changed) emit ZoomChanged(zoom_.Zoom(), zoom_.Fitted());
      }) {
  // Every paint covers its whole region from the buffer: nothing needs
  // erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The keyboard moves a selection over the nodes.
  setFocusPolicy(Qt::StrongFocus);
  SetTextDrawer(&textDrawer_);
  OnInitialUpdate();
  doc_.AttachView(this);
}

CMapvineView::~CMapvineView() {
  if (doc_.View() == this) doc_.AttachView(nullptr);
}

bool CMapvineView::SetBackground(ComposedBackground& background) {
  if (!CreateBuffer(background.Source(), background.GetWidth(), background.GetHeight(),
                    doc_.mergedPalette.get())) {
    // Whatever the window showed is gone with the buffer.
    zoom_.SetPictureSize(QSize());
    renderer_.Index().MarkStale();
    MarkFrameStale(viewport()->rect());
    return false;
  }
  // A new or opened document comes with a new background, and the node a
  // pending manual link started from belongs to the old one.
  picks_.linkMode = false;
  picks_.linkSource = nullptr;
  route_.Clear();
  picks_.selected = nullptr;
  renderer_.Index().MarkStale();
  MapToPalette(background, Palette());
  // The buffer takes the merged palette the node images are rebuilt in; an
  // image that was set outside a rebuild is brought to it here.
  MapNodesToPalette(doc_, Palette());
  updateGeometry();
  if (!InBatch()) zoom_.FitWindowToPicture();
  PictureChanged();
  return true;
}

void CMapvineView::SetMarkInactiveLinks(bool mark) {
  if (mark == renderer_.DashInactiveLinks()) return;
  renderer_.SetDashInactiveLinks(mark);
  OverlayChanged();
}

void CMapvineView::RequestPictureResize(int width, int height) {
  doc_.ComposeBackground(nullptr, kArrangementChosenInView, width, height);
}

// Nothing is shown while nodes arrive or move or the images are rebuilt;
// the end of the outermost batch shows what changed meanwhile.
void CMapvineView::BatchStarted() {
  if (batchDepth_++ == 0) documentBatch_.emplace(*this);
}

void CMapvineView::BatchEnded() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  documentBatch_.reset();
}

void CMapvineView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == autoScrollTimer_.timerId()) {
    if (drag_.active) {
      DragTo();
    } else {
      autoScrollTimer_.stop();
    }
    return;
  }
  QAbstractScrollArea::timerEvent(event);
}

QSize CMapvineView::sizeHint() const {
  const int frame = 2 * frameWidth();
  if (zoom_.PictureSize().isEmpty()) return QAbstractScrollArea::sizeHint();
  return zoom_.PictureSize() + QSize(frame, frame);
}

}  // namespace mapvine
