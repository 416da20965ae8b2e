// Every command the view carries out, bound once with the rule for its
// state: printing, the node and link commands of the context menus, the
// picture commands and zooming.
#include "model/ChangeComparison.h"
#include "model/NodeVisibility.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

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

struct ArrangementCommand {
  int id;
  BackgroundArrangement arrangement;
};

constexpr ArrangementCommand kArrangementCommands[] = {
    {command::kBackgroundTile, BackgroundArrangement::Tile},
    {command::kBackgroundStretch, BackgroundArrangement::Stretch},
    {command::kBackgroundCenter, BackgroundArrangement::Centre},
};

}  // namespace

void CMapvineView::BindCommands(CommandBindings& commands) {
  commands_ = &commands;
  printer_.BindCommands(commands);

  // The node and link commands act on what the last right click hit.
  commands.Bind(command::kDetails, [this] { ShowMenuDetails(); });
  commands.Bind(command::kLink, [this] { StartLink(); });
  commands.Bind(command::kHide, [this] { HideMenuNode(); });
  commands.Bind(command::kMoveCloser, [this] { MoveMenuNodeDepth(1); });
  commands.Bind(command::kMoveFarther, [this] { MoveMenuNodeDepth(-1); });
  commands.Bind(command::kDelete, [this] {
    if (picks_.menuOnNode) {
      if (CNode* node = MenuNode()) DeleteNode(*node);
    } else {
      DeleteMenuLink();
    }
  });
  commands.Bind(command::kShowNeighbors, [this] { SetNeighborsHidden(false); });
  commands.Bind(command::kHideNeighbors, [this] { SetNeighborsHidden(true); });
  commands.Bind(command::kRouteFromHere, [this] {
    if (CNode* node = picks_.menuOnNode ? MenuNode() : nullptr) SetRouteStart(*node);
  });
  commands.Bind(command::kRouteToHere, [this] {
    if (CNode* node = picks_.menuOnNode ? MenuNode() : nullptr) SetRouteEnd(*node);
  });
  commands.Bind(command::kPinNode, [this] { TogglePin(); }, [this] {
    const CNode* node = picks_.menuOnNode ? MenuNode() : nullptr;
    return CommandState{.enabled = node != nullptr, .checked = node != nullptr && node->pinned};
  });
  commands.Bind(command::kFoldLus, [this] { ToggleLuFold(); }, [this] { return LuFoldState(); });
  commands.Bind(command::kShowNeighbourhood,
                [this] {
                  if (CNode* node = NeighbourhoodCentre()) AskAndShowNeighbourhood(*node);
                },
                [this] { return CommandState{.enabled = NeighbourhoodCentre() != nullptr, .checked = false}; });
  commands.Bind(command::kShowAllNodes, [this] { ShowEveryNode(); });

  // What the picture shows, and how.
  for (const ClassCommand& c : kClassCommands) {
    commands.Bind(c.id, [this, c] {
      if (c.hide) {
        HideAllOfClass(doc_, c.nodeClass);
      } else {
        ShowAllOfClass(doc_, c.nodeClass);
      }
      PictureChanged();
    });
  }
  for (const ArrangementCommand& c : kArrangementCommands) {
    commands.Bind(c.id, [this, c] { ArrangeBackground(c.arrangement); },
                  [this, c] { return CommandState{.enabled = true, .checked = c.arrangement == ShownArrangement()}; });
  }
  commands.Bind(command::kFindResource, [this] { FindResourceByName(); });
  commands.Bind(command::kShowHiddenNodes, [this] { ShowChosenHiddenNodes(); });
  commands.Bind(command::kResizeBackground, [this] { ResizeBackground(); });
  commands.Bind(command::kAcknowledgeChanges, [this] {
    AcknowledgeChanges(doc_);
    PictureChanged();
    emit AllMarksAcknowledged();
  });
  commands.Bind(
      command::kMarkInactiveLinks,
      [this] {
        SetMarkInactiveLinks(!renderer_.DashInactiveLinks());
        emit MarkInactiveLinksChanged(renderer_.DashInactiveLinks());
      },
      [this] { return CommandState{.enabled = true, .checked = renderer_.DashInactiveLinks()}; });

  // Zooming needs a picture.
  commands.Bind(command::kZoomIn, [this] { zoom_.ZoomIn(); }, [this] {
    return CommandState{.enabled = HasBuffer() && zoom_.Zoom() < ViewZoom::kMaxZoom, .checked = false};
  });
  commands.Bind(command::kZoomOut, [this] { zoom_.ZoomOut(); }, [this] {
    return CommandState{.enabled = HasBuffer() && zoom_.Zoom() > zoom_.MinimumZoom(), .checked = false};
  });
  commands.Bind(command::kActualSize, [this] { zoom_.SetZoom(1.0); },
                [this] { return CommandState{.enabled = HasBuffer(), .checked = zoom_.Zoom() == 1.0}; });
  commands.Bind(command::kFitToWindow, [this] { zoom_.FitToWindow(); },
                [this] { return CommandState{.enabled = HasBuffer(), .checked = zoom_.Fitted()}; });
}

}  // namespace mapvine
