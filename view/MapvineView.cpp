#include "view/MapvineView.h"

namespace mapvine {

CMapvineView::CMapvineView(CMapvineDoc& doc, QWidget* parent)
    : QAbstractScrollArea(parent),
      doc_(doc),
      zoom_(*this,
            [this](bool changed) {
              // A new zoom or a new scroll position shows every pixel anew.
              frame_.MarkStale(viewport()->rect());
              if (changed) emit signals_.ZoomChanged(zoom_.Zoom(), zoom_.Fitted());
            }),
      frame_(*this, doc_, *this, zoom_, [this] {
        ViewOverlays overlays;
        route_.AddTo(overlays);
        overlays.selected = selection_.SelectedNode();
        return overlays;
      }) {
  // Every paint covers its whole region from the buffer: nothing needs
  // erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The keyboard moves a selection over the nodes.
  setFocusPolicy(Qt::StrongFocus);
  OnInitialUpdate();
  doc_.AttachView(&document_);
}

CMapvineView::~CMapvineView() {
  if (doc_.View() == &document_) doc_.AttachView(nullptr);
}

void CMapvineView::BindCommands(CommandBindings& commands) {
  menus_.AskStatesOf(commands);
  printer_.BindCommands(commands);
  nodeCommands_.BindCommands(commands);
  finder_.BindCommands(commands);
  pictureCommands_.BindCommands(commands);
  zoom_.BindCommands(commands, [this] { return HasBuffer(); });
}

QSize CMapvineView::sizeHint() const {
  const int frame = 2 * frameWidth();
  if (zoom_.PictureSize().isEmpty()) return QAbstractScrollArea::sizeHint();
  return zoom_.PictureSize() + QSize(frame, frame);
}

void CMapvineView::ExposeArea(const Rect& area) {
  // Far out, a node's mark and the rings around it reach beyond its place.
  const int reach = zoom_.Zoom() < 1.0 ? kOverviewMarkReach : 0;
  frame_.MarkStale(zoom_.ToViewport(area).adjusted(-reach, -reach, reach, reach));
}

Rect CMapvineView::VisibleArea() const { return zoom_.VisibleArea(); }

void CMapvineView::SetScrollSizes(int width, int height) { zoom_.SetPictureSize(QSize(width, height)); }

void CMapvineView::PictureAreaChanged(const Rect& area) {
  // The pixels themselves are drawn when shown; the next paint reads what
  // lies there anew.
  frame_.Renderer().Index().AreaChanged(area);
}

void CMapvineView::WholePictureChanged() {
  // A refresh grows the picture while nothing is shown; the window follows
  // when the picture is shown again.
  zoom_.FitWindowToNewPictureSize();
  frame_.Renderer().Index().MarkStale();
  counts_.MarkStale();
  route_.TopologyChanged();
  route_.Settle();
}

void CMapvineView::BatchFinished() { route_.Settle(); }

}  // namespace mapvine
