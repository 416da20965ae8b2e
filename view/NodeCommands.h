#pragma once

#include <QWidget>

#include "graphics/COSBView.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"
#include "view/ChosenRoute.h"
#include "view/CommandBindings.h"
#include "view/KeyboardSelection.h"
#include "view/ViewPicks.h"
#include "view/ViewSignals.h"

namespace mapvine {

// The node and link commands of the context menus: details, link, hide,
// depth, delete, neighbours, the route's ends, pinning, folding LUs and
// neighbourhoods. They act on what the last right click hit; the keyboard
// reaches details and delete for the selected node.
class NodeCommands final : public CommandOwner {
 public:
  // `dialogParent` owns the dialogs; `documentView` hears of a node whose
  // details were edited.
  NodeCommands(CMapvineDoc& doc, COSBView& picture, QWidget& dialogParent, DocumentView& documentView,
               ViewPicks& picks, const KeyboardSelection& selection, ChosenRoute& route,
               ViewSignals& viewSignals)
      : doc_(doc),
        picture_(picture),
        dialogParent_(dialogParent),
        documentView_(documentView),
        picks_(picks),
        selection_(selection),
        route_(route),
        signals_(viewSignals) {}

  void BindCommands(CommandBindings& commands) override;

  // A left click on `hit` (none on the background) while a manual link
  // waits for its second node: links the two. False when no link waited.
  bool CompleteLink(CNode* hit);
  // Deletes the selected node after asking.
  void DeleteSelected();
  void ShowNodeDetails(CNode& node);
  // Asks how many hops and shows only the nodes that near `node`.
  void AskAndShowNeighbourhood(CNode& node);

 private:
  void StartLink();
  void HideMenuNode();
  void MoveMenuNodeDepth(int step);
  void SetNeighborsHidden(bool hidden);
  void DeleteMenuLink();
  void DeleteNode(CNode& node);
  // Pinning and neighbourhoods (NodeNeighbourhood.cpp). The centre is the
  // node whose menu is open, else the selected one.
  void TogglePin();
  void ToggleLuFold();
  CommandState LuFoldState() const;
  CNode* NeighbourhoodCentre() const;
  void ShowEveryNode();
  // The detail dialog of the node or link under the last right click
  // (NodeDetails.cpp).
  void ShowMenuDetails();
  void ShowLinkDetails(CLink& link);
  // Runs `Dialog` on `texts` and writes its edits back to `item` on OK;
  // false on Cancel or when the item left the document meanwhile.
  template <typename Dialog, typename Item, typename Texts>
  bool EditDetails(Item& item, const Texts& texts);

  CMapvineDoc& doc_;
  COSBView& picture_;
  QWidget& dialogParent_;
  DocumentView& documentView_;
  ViewPicks& picks_;
  const KeyboardSelection& selection_;
  ChosenRoute& route_;
  ViewSignals& signals_;
};

}  // namespace mapvine
