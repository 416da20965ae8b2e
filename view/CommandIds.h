#pragma once

// Command identifiers of the menus, accelerators, toolbar and context menus.
// They are the program's own numbering, kept stable so that tests and any
// scripting can name a command.
namespace mapvine::command {

// File
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePageSetup = 57605;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileExport = 32950;
inline constexpr int kFileMruFirst = 57616;  // recent files: 57616..57619
inline constexpr int kRecentFileCount = 4;
inline constexpr int kAppExit = 57665;

// Edit
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kFindResource = 32810;
inline constexpr int kTrace = 32818;
inline constexpr int kManualAddNode = 32791;

// View
inline constexpr int kRefresh = 32798;
inline constexpr int kTileNodes = 32817;
inline constexpr int kNewBackgroundImage = 32812;  // also "&Open Background Image"
inline constexpr int kResizeBackground = 32784;
inline constexpr int kBackgroundTile = 32779;
inline constexpr int kBackgroundStretch = 32797;
inline constexpr int kBackgroundCenter = 32786;
inline constexpr int kHideAllNetworkNodes = 32821;
inline constexpr int kHideAllConnectionNetworks = 32823;
inline constexpr int kHideAllEndNodes = 32825;
inline constexpr int kHideAllLogicalUnits = 32828;
inline constexpr int kHideAllUnreachable = 32829;
inline constexpr int kShowAllNetworkNodes = 32822;
inline constexpr int kShowAllConnectionNetworks = 32824;
inline constexpr int kShowAllEndNodes = 32826;
inline constexpr int kShowAllLogicalUnits = 32827;
inline constexpr int kShowAllUnreachable = 32830;
inline constexpr int kShowHiddenNodes = 32808;
inline constexpr int kSettings = 32820;
inline constexpr int kAcknowledgeChanges = 32840;
inline constexpr int kChangesWindow = 32841;  // the "Changes" window's show/hide toggle
inline constexpr int kHistoryWindow = 32880;  // the "History" window's show/hide toggle
inline constexpr int kHistorySettings = 32881;
inline constexpr int kMarkInactiveLinks = 32862;
inline constexpr int kZoomIn = 32900;
inline constexpr int kZoomOut = 32901;
inline constexpr int kActualSize = 32902;
inline constexpr int kFitToWindow = 32903;

// Help
inline constexpr int kHelpTopics = 57667;
inline constexpr int kHelp = 57670;
inline constexpr int kContextHelp = 57669;
inline constexpr int kAppAbout = 57664;

// Context menus of the picture
inline constexpr int kDetails = 32776;
inline constexpr int kMoveCloser = 32773;
inline constexpr int kMoveFarther = 32775;
inline constexpr int kLink = 32778;
inline constexpr int kDelete = 32780;
inline constexpr int kHide = 32807;
inline constexpr int kShowNeighbors = 32815;
inline constexpr int kHideNeighbors = 32816;
inline constexpr int kIconHost = 32783;
inline constexpr int kIconWorkstation = 32785;
inline constexpr int kIconServerWorkstation = 32787;
inline constexpr int kIconSameForBoth = 32789;
inline constexpr int kIconActive = 32831;
inline constexpr int kIconInactive = 32832;
inline constexpr int kRouteFromHere = 32860;
inline constexpr int kRouteToHere = 32861;
inline constexpr int kPinNode = 32871;
inline constexpr int kShowNeighbourhood = 32872;
inline constexpr int kFoldLus = 32890;

// Arrange
inline constexpr int kArrangeByConnections = 32870;
inline constexpr int kShowAllNodes = 32873;
inline constexpr int kPlaceNewNearNeighbours = 32875;

}  // namespace mapvine::command
