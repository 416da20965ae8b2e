// The view commands that change what the picture shows or how: find a node
// by name, show chosen hidden nodes, resize the picture, arrange its
// background, and hide or show whole classes of nodes.
#include <QScrollBar>

#include <algorithm>

#include "model/ChangeComparison.h"
#include "model/NodeVisibility.h"
#include "view/CommandIds.h"
#include "view/FindDialog.h"
#include "view/MapvineView.h"
#include "view/ModalDialog.h"
#include "view/ResizeDialog.h"
#include "view/ShowNodesDialog.h"

namespace mapvine {
namespace {

// A found node shows its other image and back again four times.
constexpr int kBlinkPhases = 8;
constexpr int kBlinkPhaseMilliseconds = 150;

struct ClassCommand {
  int id;
  NodeClass nodeClass;
  bool hide;
};

constexpr ClassCommand kClassCommands[] = {
    {command::kHideAllNetworkNodes, NodeClass::NetworkNodes, true},
    {command::kHideAllConnectionNetworks, NodeClass::ConnectionNetworks, true},
    {command::kHideAllEndNodes, NodeClass::EndNodes, true},
    {command::kHideAllLogicalUnits, NodeClass::LogicalUnits, true},
    {command::kHideAllUnreachable, NodeClass::Unreachable, true},
    {command::kShowAllNetworkNodes, NodeClass::NetworkNodes, false},
    {command::kShowAllConnectionNetworks, NodeClass::ConnectionNetworks, false},
    {command::kShowAllEndNodes, NodeClass::EndNodes, false},
    {command::kShowAllLogicalUnits, NodeClass::LogicalUnits, false},
    {command::kShowAllUnreachable, NodeClass::Unreachable, false},
};

const ClassCommand* ClassCommandOf(int id) {
  const auto* found = std::find_if(std::begin(kClassCommands), std::end(kClassCommands),
                                   [id](const ClassCommand& c) { return c.id == id; });
  return found != std::end(kClassCommands) ? found : nullptr;
}

// The arrangement a background command selects, or -1.
int ArrangementOf(int id) {
  switch (id) {
    case command::kBackgroundTile:
      return 0;
    case command::kBackgroundStretch:
      return 1;
    case command::kBackgroundCenter:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

bool CMapvineView::OnPictureCommand(int id) {
  if (const ClassCommand* c = ClassCommandOf(id)) {
    if (c->hide) {
      HideAllOfClass(doc_, c->nodeClass);
    } else {
      ShowAllOfClass(doc_, c->nodeClass);
    }
    RedrawWholePicture();
    return true;
  }
  if (const int arrangement = ArrangementOf(id); arrangement >= 0) {
    ArrangeBackground(arrangement);
    return true;
  }
  switch (id) {
    case command::kFindResource:
      FindResourceByName();
      return true;
    case command::kShowHiddenNodes:
      ShowChosenHiddenNodes();
      return true;
    case command::kResizeBackground:
      ResizeBackground();
      return true;
    case command::kAcknowledgeChanges:
      AcknowledgeChanges(doc_);
      RedrawWholePicture();
      return true;
    default:
      return false;
  }
}

std::optional<CommandState> CMapvineView::PictureCommandState(int id) const {
  if (const int arrangement = ArrangementOf(id); arrangement >= 0) {
    return CommandState{.enabled = true, .checked = arrangement == backgroundArrangement};
  }
  if (ClassCommandOf(id) != nullptr) return CommandState{};
  switch (id) {
    case command::kFindResource:
    case command::kShowHiddenNodes:
    case command::kResizeBackground:
    case command::kAcknowledgeChanges:
      return CommandState{};
    default:
      return std::nullopt;
  }
}

void CMapvineView::FindResourceByName() {
  FindDialog dialog(this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  const std::optional<std::string> text = dialog.Text();
  if (text) LocateNode(*text);  // nothing found: nothing to show, nothing to say
}

bool CMapvineView::LocateNode(std::string_view name) {
  CSprite* node = FindResource(doc_.Nodes(), name);
  if (node == nullptr) return false;
  CentreOn(*node);
  Blink(*node);
  return true;
}

void CMapvineView::CentreOn(const CSprite& node) {
  const int clientWidth = viewport()->width();
  const int clientHeight = viewport()->height();
  // A picture the window shows whole is left where it is.
  if (pictureSize_.width() <= clientWidth && pictureSize_.height() <= clientHeight) return;
  const Point centre = node.GetCenter();
  horizontalScrollBar()->setValue(std::max(0, centre.x - clientWidth / 2));
  verticalScrollBar()->setValue(std::max(0, centre.y - clientHeight / 2));
  skipScrollCheck = false;
  copyWholeBuffer = true;
  viewport()->repaint();
  CopyToScreen(nullptr);
}

void CMapvineView::Blink(CSprite& node) {
  if (Surface() == nullptr) return;
  const int slotCount = static_cast<int>(doc_.workingImages.size());
  const int shown = node.imageIndex != 0 ? node.imageIndex : node.activeImage;
  const int other = node.imageIndex == node.activeImage ? node.inactiveImage : node.activeImage;
  for (int phase = 0; phase < kBlinkPhases; ++phase) {
    // The last phase is the image the node showed before the blink.
    const int slot = phase % 2 == 0 ? other : shown;
    const Rect before = node.GetRect();
    if (slot > 0 && slot < slotCount) {
      node.SetImage(*doc_.workingImages[static_cast<std::size_t>(slot)], 0, 0);
      MapToViewPalette(node);
      node.PickTransparentIndex();
    }
    // The node's whole area is composed again, background first: the two
    // images may differ in size or be see-through in different places, and
    // drawing one over the other would leave pixels of both.
    const Rect area = before.Union(node.GetRect());
    Render(&area);
    copyWholeBuffer = true;
    CopyToScreen(nullptr);
    // The pause holds the event loop: each phase is painted now or never.
    viewport()->repaint();
    Pause(kBlinkPhaseMilliseconds);
  }
}

void CMapvineView::ShowChosenHiddenNodes() {
  ShowNodesDialog dialog(HiddenLabels(doc_.Nodes()), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  ShowFirstHolders(doc_, dialog.SelectedLabels());
  RedrawWholePicture();
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

void CMapvineView::ArrangeBackground(int arrangement) {
  backgroundArrangement = arrangement;
  // Same size, laid out anew.
  doc_.ComposeBackground(nullptr, doc_.picture.backgroundMode, doc_.picture.composedWidth,
                         doc_.picture.composedHeight);
}

}  // namespace mapvine
