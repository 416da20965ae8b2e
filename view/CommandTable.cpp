#include "view/CommandTable.h"

#include <algorithm>
#include <vector>

namespace mapvine {
namespace {

namespace c = command;

// clang-format off
constexpr CommandInfo kCommands[] = {
    // File
    {.id = c::kFileNew, .text = "&New", .keys = "Ctrl+N", .prompt = "Create a new document\nNew",
     .toolbarImage = ":/toolbar/new.png", .blockedWhileRefreshing = true},
    {.id = c::kFileOpen, .text = "O&pen...", .keys = "Ctrl+O", .prompt = "Open new topology picture\nOpen",
     .toolbarImage = ":/toolbar/open.png", .blockedWhileRefreshing = true},
    {.id = c::kFileSave, .text = "&Save", .keys = "Ctrl+S", .prompt = "Save the active document\nSave",
     .toolbarImage = ":/toolbar/save.png"},
    {.id = c::kFileSaveAs, .text = "Save &As...", .prompt = "Save the active document with a new name\nSave As"},
    {.id = c::kFileExport, .text = "&Export...",
     .prompt = "Write the picture for other programs: SVG, PDF, GraphML, DOT or JSON\nExport"},
    {.id = c::kFilePrint, .text = "&Print...", .keys = "Ctrl+P", .prompt = "Print the picture\nPrint"},
    {.id = c::kFilePrintPreview, .text = "Print Pre&view...",
     .prompt = "Show the picture as it would print, on one page or across several\nPrint Preview"},
    {.id = c::kFilePageSetup, .text = "Page Set&up...",
     .prompt = "Choose the paper, orientation and margins\nPage Setup"},
    // Stands for every recent-file item; each shows its file's name once there is one.
    {.id = c::kFileMruFirst, .text = "Recent File", .prompt = "Open this document",
     .blockedWhileRefreshing = true},
    {.id = c::kAppExit, .text = "E&xit", .prompt = "Quit the application; prompts to save documents\nExit"},
    // Edit
    {.id = c::kEditUndo, .text = "&Undo", .keys = "Ctrl+Z; Alt+Backspace",
     .prompt = "Undo the last change to the picture\nUndo", .blockedWhileRefreshing = true},
    {.id = c::kEditRedo, .text = "&Redo", .keys = "Ctrl+Shift+Z", .prompt = "Redo the change undone last\nRedo",
     .blockedWhileRefreshing = true},
    {.id = c::kFindResource, .text = "Find Resource", .keys = "Ctrl+F", .prompt = "Locate a resource by name",
     .undoName = "Find"},
    {.id = c::kTrace, .text = "Trace", .prompt = "Toggle Internal Trace"},
    {.id = c::kManualAddNode, .text = "Manually Add Node", .prompt = "Manually Create a New Node",
     .toolbarImage = ":/toolbar/add-node.png", .undoName = "Add Node", .blockedWhileRefreshing = true},
    // View
    {.id = c::kRefresh, .text = "R&efresh", .keys = "F5", .prompt = "Refresh View",
     .blockedWhileRefreshing = true},
    {.id = c::kTileNodes, .text = "Tile Nodes", .keys = "F4", .prompt = "Retile all nodes on screen",
     .undoName = "Tile Nodes"},
    {.id = c::kAcknowledgeChanges, .text = "Acknowledge Changes",
     .prompt = "Remove the marks of what the refreshes changed"},
    {.id = c::kZoomIn, .text = "Zoom &In", .keys = "Ctrl+=", .prompt = "Show the picture larger\nZoom In"},
    {.id = c::kZoomOut, .text = "Zoom &Out", .keys = "Ctrl+-", .prompt = "Show more of the picture\nZoom Out"},
    {.id = c::kActualSize, .text = "&Actual Size", .keys = "Ctrl+0",
     .prompt = "Show the picture at its own size\nActual Size"},
    {.id = c::kFitToWindow, .text = "&Fit to Window", .keys = "Ctrl+9",
     .prompt = "Show the whole picture in the window\nFit to Window", .toolbarImage = ":/toolbar/fit.png"},
    {.id = c::kNewBackgroundImage, .text = "&New Image...", .contextText = "&Open Background Image",
     .keys = "Ctrl+B", .prompt = "", .undoName = "New Background", .changesBackground = true,
     .blockedWhileRefreshing = true},
    {.id = c::kResizeBackground, .text = "&Resize...", .contextText = "&Resize Background...",
     .prompt = "Resize Window", .undoName = "Resize", .changesBackground = true,
     .blockedWhileRefreshing = true},
    {.id = c::kBackgroundTile, .text = "&Tile", .prompt = "Tile Background"},
    {.id = c::kBackgroundStretch, .text = "&Stretch to Fit", .prompt = "Stretch background image to fit window size"},
    {.id = c::kBackgroundCenter, .text = "&Center Image", .prompt = "Center image in Background"},
    {.id = c::kHideAllNetworkNodes, .text = "Network Nodes", .prompt = "Hide all network nodes",
     .undoName = "Hide All"},
    {.id = c::kHideAllConnectionNetworks, .text = "Connection Networks",
     .prompt = "Hide all connection network nodes", .undoName = "Hide All"},
    {.id = c::kHideAllEndNodes, .text = "End Nodes", .prompt = "Hide all end nodes", .undoName = "Hide All"},
    {.id = c::kHideAllLogicalUnits, .text = "Logical Units", .prompt = "Hide all LUs", .undoName = "Hide All"},
    {.id = c::kHideAllUnreachable, .text = "Unreachable Nodes",
     .prompt = "Hide all Unreachable Nodes (Actively Query Status must be enabled)", .undoName = "Hide All"},
    {.id = c::kShowAllNetworkNodes, .text = "Network Nodes", .prompt = "Show all network nodes",
     .undoName = "Show All"},
    {.id = c::kShowAllConnectionNetworks, .text = "Connection Networks",
     .prompt = "Show all connection network nodes", .undoName = "Show All"},
    {.id = c::kShowAllEndNodes, .text = "End Nodes", .prompt = "Show all End Nodes", .undoName = "Show All"},
    {.id = c::kShowAllLogicalUnits, .text = "Logical Units", .prompt = "Show all LUs", .undoName = "Show All"},
    {.id = c::kShowAllUnreachable, .text = "Unreachable Nodes",
     .prompt = "Show all Unreachable Nodes (Actively Query Status must be enabled)", .undoName = "Show All"},
    {.id = c::kShowHiddenNodes, .text = "Show selected hidden nodes...",
     .prompt = "Select nodes to be displayed from a list of hidden nodes", .undoName = "Show Hidden Nodes"},
    {.id = c::kSettings, .text = "Settings...", .prompt = "Customize View Settings"},
    {.id = c::kMarkInactiveLinks, .text = "Mark inactive links",
     .prompt = "Draw inactive links dashed as well as red"},
    {.id = c::kChangesWindow, .text = "Changes", .prompt = "Show or hide the list of what the refreshes changed"},
    {.id = c::kHistoryWindow, .text = "History", .prompt = "Show or hide the change history and its time slider"},
    {.id = c::kHistorySettings, .text = "History Settings...",
     .prompt = "Keep a change history, for how long and where; desktop notifications"},
    // Arrange
    {.id = c::kArrangeByConnections, .text = "Arrange by &Connections",
     .prompt = "Lay the picture out so that connected resources sit together\nArrange by Connections"},
    {.id = c::kPlaceNewNearNeighbours, .text = "Place &New Resources Near Neighbours",
     .prompt = "On an arranged picture, put what a refresh adds beside what it connects to"},
    {.id = c::kShowNeighbourhood, .text = "Show &Neighbourhood…", .contextText = "Show Neighbourhood…",
     .prompt = "Show only the resources within a few hops of the selected node", .undoName = "Show Neighbourhood"},
    {.id = c::kShowAllNodes, .text = "Show &All Nodes", .prompt = "Show every node of the picture again",
     .undoName = "Show All"},
    // Help
    {.id = c::kHelpTopics, .text = "&Help Topics", .prompt = "List Help topics\nHelp Topics"},
    {.id = c::kAppAbout, .text = "&About Mapvine...", .prompt = "Display program information and version number\nAbout"},
    {.id = c::kHelp, .text = "Help", .keys = "F1"},
    {.id = c::kContextHelp, .text = "Help", .keys = "Shift+F1",
     .prompt = "Display help for clicked on buttons, menus and windows\nHelp",
     .toolbarImage = ":/toolbar/context-help.png"},
    // The context menus of the picture
    {.id = c::kDetails, .text = "Node Details...", .linkText = "Link Details...", .undoName = "Details"},
    {.id = c::kLink, .text = "Link"},
    {.id = c::kHide, .text = "Hide", .undoName = "Hide"},
    {.id = c::kMoveCloser, .text = "Move Closer", .undoName = "Move Closer"},
    {.id = c::kMoveFarther, .text = "Move Farther", .undoName = "Move Farther"},
    {.id = c::kDelete, .text = "Delete", .undoName = "Delete", .blockedWhileRefreshing = true},
    {.id = c::kIconHost, .text = "Host", .undoName = "Icon"},
    {.id = c::kIconWorkstation, .text = "Workstation", .undoName = "Icon"},
    {.id = c::kIconServerWorkstation, .text = "Server Workstation", .undoName = "Icon"},
    {.id = c::kIconActive, .text = "Active Icon...", .undoName = "Icon"},
    {.id = c::kIconInactive, .text = "Inactive Icon", .undoName = "Icon"},
    {.id = c::kIconSameForBoth, .text = "Same for Act/Inact...", .undoName = "Icon"},
    {.id = c::kShowNeighbors, .text = "Show Neighbors", .undoName = "Show Neighbors"},
    {.id = c::kHideNeighbors, .text = "Hide Neighbors", .undoName = "Hide Neighbors"},
    {.id = c::kRouteFromHere, .text = "Route From Here"},
    {.id = c::kRouteToHere, .text = "Route To Here"},
    {.id = c::kPinNode, .text = "Pin", .undoName = "Pin"},
    {.id = c::kFoldLus, .text = "Fold LUs", .undoName = "Fold LUs"},
};
// clang-format on

}  // namespace

const char* CommandInfo::ContextText(bool onLink) const {
  if (onLink && linkText != nullptr) return linkText;
  return contextText != nullptr ? contextText : text;
}

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo* FindCommand(int id) {
  // Every recent-file item is the first one's command.
  if (id > c::kFileMruFirst && id < c::kFileMruFirst + c::kRecentFileCount) id = c::kFileMruFirst;
  // Looked up on every command and every state update: by id, not by a walk.
  static const std::vector<const CommandInfo*> byId = [] {
    std::vector<const CommandInfo*> rows;
    for (const CommandInfo& row : kCommands) rows.push_back(&row);
    std::sort(rows.begin(), rows.end(), [](const CommandInfo* a, const CommandInfo* b) { return a->id < b->id; });
    return rows;
  }();
  const auto found = std::lower_bound(byId.begin(), byId.end(), id,
                                      [](const CommandInfo* row, int wanted) { return row->id < wanted; });
  return found != byId.end() && (*found)->id == id ? *found : nullptr;
}

}  // namespace mapvine
