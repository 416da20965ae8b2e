#include "view/NodeFinder.h"

#include <QScrollBar>

#include <algorithm>

#include "dialogs/ModalDialog.h"
#include "model/LuFold.h"
#include "render/PaletteMapping.h"
#include "view/CommandIds.h"

namespace mapvine {

void NodeFinder::BindCommands(CommandBindings& commands) {
  commands.Bind(command::kFindResource, [this] { FindResourceByName(); });
}

void NodeFinder::FindResourceByName() {
  FindDialog dialog(doc_, &window_);
  if (RunModal(dialog) != QDialog::Accepted) return;
  CNode* node = dialog.Found();
  if (node == nullptr) return;  // nothing found: nothing to show, nothing to say
  ShowFound(*node, dialog.Chosen());
}

bool NodeFinder::LocateNode(std::string_view name) {
  CNode* node = doc_.FindResource(name);
  if (node == nullptr) return false;
  ShowFound(*node, FindDialog::Choice::Locate);
  return true;
}

void NodeFinder::ShowFound(CNode& node, FindDialog::Choice choice) {
  // A hidden node would blink unseen: it is shown, and the person told so.
  const bool wasHidden = node.hidden;
  if (wasHidden) {
    doc_.NodeChanging(node);
    node.hidden = 0;
    doc_.SetModified(true);
    picture_.PictureChanged();
  }
  // An LU folded into its owner is what the person looks for, not the
  // owner's count: the owner's LUs unfold, as a hidden node is shown.
  const CNode* unfolded = UnfoldToShow(doc_, node);
  CentreOn(node);
  switch (choice) {
    case FindDialog::Choice::RouteFrom:
      route_.SetStart(node);
      break;
    case FindDialog::Choice::RouteTo:
      route_.SetEnd(node);
      break;
    case FindDialog::Choice::Locate:
      if (picture_.HasBuffer()) blink_.Start(node);
      break;
    case FindDialog::Choice::Neighbourhood:
      nodeCommands_.AskAndShowNeighbourhood(node);
      break;
  }
  if (choice == FindDialog::Choice::Neighbourhood) return;
  if (wasHidden) {
    doc_.ShowStatusText(node.label + " was hidden and is shown now");
  } else if (unfolded != nullptr) {
    doc_.ShowStatusText(node.label + " was folded into " + unfolded->label + ", whose LUs are unfolded now");
  }
}

void NodeFinder::CentreOn(const CNode& node) {
  // A node drawn as a mark, or folded into its owner, is not yet found for
  // the eye: the picture comes in to its own size around it.
  if (zoom_.Zoom() < 1.0 && DetailFor(zoom_.Zoom(), 0) != Detail::IconsAndLabels) zoom_.SetZoom(1.0);
  const int clientWidth = window_.viewport()->width();
  const int clientHeight = window_.viewport()->height();
  // A picture the window shows whole is left where it is.
  const QSize zoomed = zoom_.ZoomedPictureSize();
  if (zoomed.width() <= clientWidth && zoomed.height() <= clientHeight) return;
  const QPoint centre = zoom_.ToViewport(node.GetCenter()) +
                        QPoint(window_.horizontalScrollBar()->value(), window_.verticalScrollBar()->value());
  window_.horizontalScrollBar()->setValue(std::max(0, centre.x() - clientWidth / 2));
  window_.verticalScrollBar()->setValue(std::max(0, centre.y() - clientHeight / 2));
  window_.viewport()->repaint();
  picture_.OverlayChanged();
}

void NodeFinder::ShowBlinkImage(CNode& node, int slot) {
  if (!picture_.HasBuffer()) return;
  const Rect before = node.GetRect();
  if (slot > 0 && slot < static_cast<int>(doc_.workingImages.size())) {
    node.SetImage(*doc_.workingImages[static_cast<std::size_t>(slot)], 0, 0);
    MapToPalette(node, picture_.Palette());
    node.PickTransparentIndex();
  }
  // The node's whole area is composed again, background first: the two
  // images may differ in size or be see-through in different places, and
  // drawing one over the other would leave pixels of both.
  const Rect area = before.Union(node.GetRect());
  picture_.PictureChanged(area);
}

}  // namespace mapvine
