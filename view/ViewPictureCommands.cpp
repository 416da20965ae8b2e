// The view commands that change what the picture shows or how: find a node
// by name, show chosen hidden nodes, resize the picture, arrange its
// background. What the picture shows is bound to its commands in
// ViewCommands.cpp.
#include <QScrollBar>

#include <algorithm>

#include "model/LuFold.h"
#include "model/NodeVisibility.h"
#include "dialogs/FindDialog.h"
#include "view/MapvineView.h"
#include "dialogs/ModalDialog.h"
#include "dialogs/ResizeDialog.h"
#include "dialogs/ShowNodesDialog.h"
#include "render/PaletteMapping.h"

namespace mapvine {
namespace {

// A found node shows its other image and back again four times.

}  // namespace

void CMapvineView::FindResourceByName() {
  FindDialog dialog(doc_.Nodes(), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  CNode* node = dialog.Found();
  if (node == nullptr) return;  // nothing found: nothing to show, nothing to say
  ShowFound(*node, dialog.Chosen());
}

bool CMapvineView::LocateNode(std::string_view name) {
  CNode* node = FindResource(doc_.Nodes(), name);
  if (node == nullptr) return false;
  ShowFound(*node, FindDialog::Choice::Locate);
  return true;
}

void CMapvineView::ShowFound(CNode& node, FindDialog::Choice choice) {
  // A hidden node would blink unseen: it is shown, and the person told so.
  const bool wasHidden = node.hidden;
  if (wasHidden) {
    doc_.NodeChanging(node);
    node.hidden = 0;
    doc_.SetModified(true);
    PictureChanged();
  }
  // An LU folded into its owner is what the person looks for, not the
  // owner's count: the owner's LUs unfold, as a hidden node is shown.
  const CNode* unfolded = UnfoldToShow(doc_, node);
  CentreOn(node);
  switch (choice) {
    case FindDialog::Choice::RouteFrom:
      SetRouteStart(node);
      break;
    case FindDialog::Choice::RouteTo:
      SetRouteEnd(node);
      break;
    case FindDialog::Choice::Locate:
      if (HasBuffer()) blink_.Start(node);
      break;
    case FindDialog::Choice::Neighbourhood:
      AskAndShowNeighbourhood(node);
      break;
  }
  if (choice == FindDialog::Choice::Neighbourhood) return;
  if (wasHidden) {
    doc_.ShowStatusText(node.label + " was hidden and is shown now");
  } else if (unfolded != nullptr) {
    doc_.ShowStatusText(node.label + " was folded into " + unfolded->label + ", whose LUs are unfolded now");
  }
}

void CMapvineView::CentreOn(const CNode& node) {
  // A node drawn as a mark, or folded into its owner, is not yet found for
  // the eye: the picture comes in to its own size around it.
  if (zoom_.Zoom() < 1.0 && DetailFor(zoom_.Zoom(), 0) != Detail::IconsAndLabels) zoom_.SetZoom(1.0);
  const int clientWidth = viewport()->width();
  const int clientHeight = viewport()->height();
  // A picture the window shows whole is left where it is.
  const QSize zoomed = zoom_.ZoomedPictureSize();
  if (zoomed.width() <= clientWidth && zoomed.height() <= clientHeight) return;
  const QPoint centre = zoom_.ToViewport(node.GetCenter()) +
                        QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
  horizontalScrollBar()->setValue(std::max(0, centre.x() - clientWidth / 2));
  verticalScrollBar()->setValue(std::max(0, centre.y() - clientHeight / 2));
  viewport()->repaint();
  OverlayChanged();
}

void CMapvineView::ShowBlinkImage(CNode& node, int slot) {
  if (!HasBuffer()) return;
  const Rect before = node.GetRect();
  if (slot > 0 && slot < static_cast<int>(doc_.workingImages.size())) {
    node.SetImage(*doc_.workingImages[static_cast<std::size_t>(slot)], 0, 0);
    MapToPalette(node, Palette());
    node.PickTransparentIndex();
  }
  // The node's whole area is composed again, background first: the two
  // images may differ in size or be see-through in different places, and
  // drawing one over the other would leave pixels of both.
  const Rect area = before.Union(node.GetRect());
  PictureChanged(area);
}

void CMapvineView::ShowChosenHiddenNodes() {
  ShowNodesDialog dialog(HiddenLabels(doc_.Nodes()), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  ShowFirstHolders(doc_, dialog.SelectedLabels());
  PictureChanged();
}

void CMapvineView::ResizeBackground() {
  ResizeDialog dialog(doc_.picture.composedWidth, doc_.picture.composedHeight, this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  int width = dialog.Width();
  int height = dialog.Height();
  // A side of 0 asks for the background image's own size, as a saved
  // picture without a size is opened; there is no empty picture to show.
  if (const CDIB* source = doc_.backgroundSource.get()) {
    if (width == 0) width = source->GetWidth();
    if (height == 0) height = source->GetHeight();
  }
  doc_.ComposeBackground(nullptr, doc_.picture.backgroundMode, width, height);
}

void CMapvineView::ArrangeBackground(BackgroundArrangement arrangement) {
  backgroundArrangement = arrangement;
  // Same size, laid out anew. The document takes the choice as its own, so
  // that it overrides an arrangement a saved picture brought and is saved
  // with the picture.
  doc_.ComposeBackground(nullptr, arrangement, doc_.picture.composedWidth,
                         doc_.picture.composedHeight);
}

BackgroundArrangement CMapvineView::ShownArrangement() const {
  return doc_.composedBackground ? doc_.composedBackground->Arrangement() : backgroundArrangement;
}

}  // namespace mapvine
