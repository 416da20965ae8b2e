#pragma once

#include <QAbstractScrollArea>

#include <string_view>

#include "dialogs/FindDialog.h"
#include "graphics/COSBView.h"
#include "model/MapvineDoc.h"
#include "view/ChosenRoute.h"
#include "view/CommandBindings.h"
#include "view/NodeBlink.h"
#include "view/NodeCommands.h"
#include "view/ViewZoom.h"

namespace mapvine {

// Find: a node looked for by name is brought into sight (shown if it was
// hidden, unfolded if it was folded into its owner, the picture scrolled to
// it) and then blinks, becomes an end of the route or the centre of a
// neighbourhood, as the person chose.
class NodeFinder final : public CommandOwner {
 public:
  NodeFinder(CMapvineDoc& doc, COSBView& picture, QAbstractScrollArea& window, ViewZoom& zoom,
             ChosenRoute& route, NodeCommands& nodeCommands)
      : doc_(doc),
        picture_(picture),
        window_(window),
        zoom_(zoom),
        route_(route),
        nodeCommands_(nodeCommands) {}

  // Find Resource.
  void BindCommands(CommandBindings& commands) override;

  // Shows the node with this label or network-qualified name as Find does:
  // scrolled into the middle of the window and blinking, and shown if it
  // was hidden. False when no node has it.
  bool LocateNode(std::string_view name);
  // A found node's blink.
  NodeBlink& Blink() { return blink_; }

 private:
  void FindResourceByName();
  // Brings a found node into sight (showing it if it was hidden), then
  // blinks it or makes it an end of the route, as chosen.
  void ShowFound(CNode& node, FindDialog::Choice choice);
  // Scrolls the node to the middle of the window when the picture does not
  // fit in it.
  void CentreOn(const CNode& node);
  // Puts the image of `slot` on the node, for its blink, and shows it.
  void ShowBlinkImage(CNode& node, int slot);

  CMapvineDoc& doc_;
  COSBView& picture_;
  QAbstractScrollArea& window_;
  ViewZoom& zoom_;
  ChosenRoute& route_;
  NodeCommands& nodeCommands_;
  NodeBlink blink_{[this](CNode& node, int slot) { ShowBlinkImage(node, slot); }};
};

}  // namespace mapvine
