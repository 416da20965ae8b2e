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
    {kFile, nullptr, c::kFileNew},
    {kFile, nullptr, c::kFileOpen},
    {kFile, nullptr, c::kFileSave},
    {kFile, nullptr, c::kFileSaveAs},
    {kFile, nullptr, c::kFileExport},
    {kFile, nullptr, 0},
    {kFile, nullptr, c::kFilePrint},
    {kFile, nullptr, c::kFilePrintPreview},
    {kFile, nullptr, c::kFilePageSetup},
    {kFile, nullptr, 0},
    {kFile, nullptr, c::kFileMruFirst},
    {kFile, nullptr, 0},
    {kFile, nullptr, c::kAppExit},
    {kEdit, nullptr, c::kEditUndo},
    {kEdit, nullptr, c::kEditRedo},
    {kEdit, nullptr, 0},
    {kEdit, nullptr, c::kFindResource},
    {kEdit, nullptr, c::kTrace},
    {kEdit, nullptr, c::kManualAddNode},
    {kView, nullptr, c::kRefresh},
    {kView, nullptr, c::kTileNodes},
    {kView, nullptr, c::kAcknowledgeChanges},
    {kView, nullptr, 0},
    {kView, nullptr, c::kZoomIn},
    {kView, nullptr, c::kZoomOut},
    {kView, nullptr, c::kActualSize},
    {kView, nullptr, c::kFitToWindow},
    {kView, nullptr, 0},
    {kView, "Background", c::kNewBackgroundImage},
    {kView, "Background", c::kResizeBackground},
    {kView, "Background", c::kBackgroundTile},
    {kView, "Background", c::kBackgroundStretch},
    {kView, "Background", c::kBackgroundCenter},
    {kView, "Hide All", c::kHideAllNetworkNodes},
    {kView, "Hide All", c::kHideAllConnectionNetworks},
    {kView, "Hide All", c::kHideAllEndNodes},
    {kView, "Hide All", c::kHideAllLogicalUnits},
    {kView, "Hide All", c::kHideAllUnreachable},
    {kView, "Show All", c::kShowAllNetworkNodes},
    {kView, "Show All", c::kShowAllConnectionNetworks},
    {kView, "Show All", c::kShowAllEndNodes},
    {kView, "Show All", c::kShowAllLogicalUnits},
    {kView, "Show All", c::kShowAllUnreachable},
    {kView, nullptr, c::kShowHiddenNodes},
    {kView, nullptr, c::kSettings},
    {kView, nullptr, c::kMarkInactiveLinks},
    {kArrange, nullptr, c::kArrangeByConnections},
    {kArrange, nullptr, c::kPlaceNewNearNeighbours},
    {kArrange, nullptr, 0},
    {kArrange, nullptr, c::kShowNeighbourhood},
    {kArrange, nullptr, c::kShowAllNodes},
    {kHelp, nullptr, c::kHelpTopics},
    {kHelp, nullptr, c::kAppAbout},
};

constexpr int kToolbar[] = {c::kFileNew, c::kManualAddNode, c::kFileOpen, c::kFileSave, 0, c::kFitToWindow, 0, c::kContextHelp};

}  // namespace

std::span<const MenuEntry> MainMenuItems() { return kMainMenu; }
std::span<const int> ToolbarCommands() { return kToolbar; }

}  // namespace mapvine
