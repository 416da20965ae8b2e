#include "app/MenuLayout.h"

#include "view/CommandIds.h"

namespace mapvine {
namespace {

namespace c = command;

constexpr const char* kFile = "&File";
constexpr const char* kEdit = "&Edit";
constexpr const char* kView = "&View";
constexpr const char* kArrange = "&Arrange";
constexpr const char* kHelp = "&Help";

constexpr MenuEntry kMainMenu[] = {
    {kFile, nullptr, "&New\tCtrl+N", c::kFileNew, "Create a new document\nNew"},
    {kFile, nullptr, "O&pen...\tCtrl+O", c::kFileOpen, "Open new topology picture\nOpen"},
    {kFile, nullptr, "&Save\tCtrl+S", c::kFileSave, "Save the active document\nSave"},
    {kFile, nullptr, "Save &As...", c::kFileSaveAs, "Save the active document with a new name\nSave As"},
    {kFile, nullptr, "&Export...", c::kFileExport,
     "Write the picture for other programs: SVG, PDF, GraphML, DOT or JSON\nExport"},
    {kFile, nullptr, nullptr, 0, nullptr},
    {kFile, nullptr, "&Print...\tCtrl+P", c::kFilePrint, "Print the picture\nPrint"},
    {kFile, nullptr, "Print Pre&view...", c::kFilePrintPreview,
     "Show the picture as it would print, on one page or across several\nPrint Preview"},
    {kFile, nullptr, "Page Set&up...", c::kFilePageSetup, "Choose the paper, orientation and margins\nPage Setup"},
    {kFile, nullptr, nullptr, 0, nullptr},
    {kFile, nullptr, "Recent File", c::kFileMruFirst, "Open this document"},
    {kFile, nullptr, nullptr, 0, nullptr},
    {kFile, nullptr, "E&xit", c::kAppExit, "Quit the application; prompts to save documents\nExit"},
    {kEdit, nullptr, "&Undo\tCtrl+Z", c::kEditUndo, "Undo the last change to the picture\nUndo"},
    {kEdit, nullptr, "&Redo\tCtrl+Shift+Z", c::kEditRedo, "Redo the change undone last\nRedo"},
    {kEdit, nullptr, nullptr, 0, nullptr},
    {kEdit, nullptr, "Find Resource\tCtrl+F", c::kFindResource, "Locate a resource by name"},
    {kEdit, nullptr, "Trace", c::kTrace, "Toggle Internal Trace"},
    {kEdit, nullptr, "Manually Add Node", c::kManualAddNode, "Manually Create a New Node"},
    {kView, nullptr, "R&efresh\tF5", c::kRefresh, "Refresh View"},
    {kView, nullptr, "Tile Nodes\tF4", c::kTileNodes, "Retile all nodes on screen"},
    {kView, nullptr, "Acknowledge Changes", c::kAcknowledgeChanges,
     "Remove the marks of what the refreshes changed"},
    {kView, nullptr, nullptr, 0, nullptr},
    {kView, nullptr, "Zoom &In\tCtrl+=", c::kZoomIn, "Show the picture larger\nZoom In"},
    {kView, nullptr, "Zoom &Out\tCtrl+-", c::kZoomOut, "Show more of the picture\nZoom Out"},
    {kView, nullptr, "&Actual Size\tCtrl+0", c::kActualSize,
     "Show the picture at its own size\nActual Size"},
    {kView, nullptr, "&Fit to Window\tCtrl+9", c::kFitToWindow,
     "Show the whole picture in the window\nFit to Window"},
    {kView, nullptr, nullptr, 0, nullptr},
    {kView, "Background", "&New Image...\tCtrl+B", c::kNewBackgroundImage, ""},
    {kView, "Background", "&Resize...", c::kResizeBackground, "Resize Window"},
    {kView, "Background", "&Tile", c::kBackgroundTile, "Tile Background"},
    {kView, "Background", "&Stretch to Fit", c::kBackgroundStretch,
     "Stretch background image to fit window size"},
    {kView, "Background", "&Center Image", c::kBackgroundCenter, "Center image in Background"},
    {kView, "Hide All", "Network Nodes", c::kHideAllNetworkNodes, "Hide all network nodes"},
    {kView, "Hide All", "Connection Networks", c::kHideAllConnectionNetworks,
     "Hide all connection network nodes"},
    {kView, "Hide All", "End Nodes", c::kHideAllEndNodes, "Hide all end nodes"},
    {kView, "Hide All", "Logical Units", c::kHideAllLogicalUnits, "Hide all LUs"},
    {kView, "Hide All", "Unreachable Nodes", c::kHideAllUnreachable,
     "Hide all Unreachable Nodes (Actively Query Status must be enabled)"},
    {kView, "Show All", "Network Nodes", c::kShowAllNetworkNodes, "Show all network nodes"},
    {kView, "Show All", "Connection Networks", c::kShowAllConnectionNetworks,
     "Show all connection network nodes"},
    {kView, "Show All", "End Nodes", c::kShowAllEndNodes, "Show all End Nodes"},
    {kView, "Show All", "Logical Units", c::kShowAllLogicalUnits, "Show all LUs"},
    {kView, "Show All", "Unreachable Nodes", c::kShowAllUnreachable,
     "Show all Unreachable Nodes (Actively Query Status must be enabled)"},
    {kView, nullptr, "Show selected hidden nodes...", c::kShowHiddenNodes,
     "Select nodes to be displayed from a list of hidden nodes"},
    {kView, nullptr, "Settings...", c::kSettings, "Customize View Settings"},
    {kView, nullptr, "Mark inactive links", c::kMarkInactiveLinks,
     "Draw inactive links dashed as well as red"},
    {kArrange, nullptr, "Arrange by &Connections", c::kArrangeByConnections,
     "Lay the picture out so that connected resources sit together\nArrange by Connections"},
    {kArrange, nullptr, "Place &New Resources Near Neighbours", c::kPlaceNewNearNeighbours,
     "On an arranged picture, put what a refresh adds beside what it connects to"},
    {kArrange, nullptr, nullptr, 0, nullptr},
    {kArrange, nullptr, "Show &Neighbourhood…", c::kShowNeighbourhood,
     "Show only the resources within a few hops of the selected node"},
    {kArrange, nullptr, "Show &All Nodes", c::kShowAllNodes, "Show every node of the picture again"},
    {kHelp, nullptr, "&Help Topics", c::kHelpTopics, "List Help topics\nHelp Topics"},
    {kHelp, nullptr, "&About Mapvine...", c::kAppAbout, "Display program information and version number\nAbout"},
};

// Keys that are not shown in a menu item's text still reach their command.
// Only commands something handles get a key.
constexpr AcceleratorKey kAccelerators[] = {
    {"Ctrl+N", c::kFileNew},
    {"Ctrl+O", c::kFileOpen},
    {"Ctrl+S", c::kFileSave},
    {"Ctrl+P", c::kFilePrint},
    {"Ctrl+B", c::kNewBackgroundImage},
    {"Ctrl+F", c::kFindResource},
    {"F4", c::kTileNodes},
    {"Ctrl+=", c::kZoomIn},
    {"Ctrl+-", c::kZoomOut},
    {"Ctrl+0", c::kActualSize},
    {"Ctrl+9", c::kFitToWindow},
    {"F5", c::kRefresh},
    {"F1", c::kHelp},
    {"Shift+F1", c::kContextHelp},
    {"Ctrl+Z", c::kEditUndo},
    {"Alt+Backspace", c::kEditUndo},
};

constexpr int kToolbar[] = {c::kFileNew, c::kManualAddNode, c::kFileOpen, c::kFileSave, 0, c::kFitToWindow, 0, c::kContextHelp};

}  // namespace

std::span<const MenuEntry> MainMenuItems() { return kMainMenu; }
std::span<const AcceleratorKey> Accelerators() { return kAccelerators; }
std::span<const int> ToolbarCommands() { return kToolbar; }

}  // namespace mapvine
