#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include "base/Trace.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

struct MenuRow {
  const char* path;  // top menu, then "/" and the pop-up
  const char* text;
  int id;
  const char* prompt;
};

// The main menu as the user sees it.
const MenuRow kMenu[] = {
    {"&File", "&New\tCtrl+N", 57600, "Create a new document\nNew"},
    {"&File", "O&pen...\tCtrl+O", 57601, "Open new topology picture\nOpen"},
    {"&File", "&Save\tCtrl+S", 57603, "Save the active document\nSave"},
    {"&File", "Save &As...", 57604, "Save the active document with a new name\nSave As"},
    {"&File", "&Export...", 32950, "Write the picture for other programs: SVG, PDF, GraphML, DOT or JSON\nExport"},
    {"&File", "&Print...\tCtrl+P", 57607, "Print the picture\nPrint"},
    {"&File", "Print Pre&view...", 57609,
     "Show the picture as it would print, on one page or across several\nPrint Preview"},
    {"&File", "Page Set&up...", 57605, "Choose the paper, orientation and margins\nPage Setup"},
    {"&File", "Recent File", 57616, "Open this document"},
    {"&File", "E&xit", 57665, "Quit the application; prompts to save documents\nExit"},
    {"&Edit", "&Undo\tCtrl+Z", 57643, "Undo the last change to the picture\nUndo"},
    {"&Edit", "&Redo\tCtrl+Shift+Z", 57644, "Redo the change undone last\nRedo"},
    {"&Edit", "Find Resource\tCtrl+F", 32810, "Locate a resource by name"},
    {"&Edit", "Trace", 32818, "Toggle Internal Trace"},
    {"&Edit", "Manually Add Node", 32791, "Manually Create a New Node"},
    {"&View", "R&efresh\tF5", 32798, "Refresh View"},
    {"&View", "Tile Nodes\tF4", 32817, "Retile all nodes on screen"},
    {"&View", "Acknowledge Changes", 32840, "Remove the marks of what the refreshes changed"},
    {"&View", "Zoom &In\tCtrl+=", 32900, "Show the picture larger"},
    {"&View", "Zoom &Out\tCtrl+-", 32901, "Show more of the picture"},
    {"&View", "&Actual Size\tCtrl+0", 32902, "Show the picture at its own size"},
    {"&View", "&Fit to Window\tCtrl+9", 32903, "Show the whole picture in the window"},
    {"&View/Background", "&New Image...\tCtrl+B", 32812, ""},
    {"&View/Background", "&Resize...", 32784, "Resize Window"},
    {"&View/Background", "&Tile", 32779, "Tile Background"},
    {"&View/Background", "&Stretch to Fit", 32797, "Stretch background image to fit window size"},
    {"&View/Background", "&Center Image", 32786, "Center image in Background"},
    {"&View/Hide All", "Network Nodes", 32821, "Hide all network nodes"},
    {"&View/Hide All", "Connection Networks", 32823, "Hide all connection network nodes"},
    {"&View/Hide All", "End Nodes", 32825, "Hide all end nodes"},
    {"&View/Hide All", "Logical Units", 32828, "Hide all LUs"},
    {"&View/Hide All", "Unreachable Nodes", 32829,
     "Hide all Unreachable Nodes (Actively Query Status must be enabled)"},
    {"&View/Show All", "Network Nodes", 32822, "Show all network nodes"},
    {"&View/Show All", "Connection Networks", 32824, "Show all connection network nodes"},
    {"&View/Show All", "End Nodes", 32826, "Show all End Nodes"},
    {"&View/Show All", "Logical Units", 32827, "Show all LUs"},
    {"&View/Show All", "Unreachable Nodes", 32830,
     "Show all Unreachable Nodes (Actively Query Status must be enabled)"},
    {"&View", "Show selected hidden nodes...", 32808, "Select nodes to be displayed from a list of hidden nodes"},
    {"&View", "Settings...", 32820, "Customize View Settings"},
    {"&View", "Mark inactive links", 32862, "Draw inactive links dashed as well as red"},
    {"&View", "Changes", 32841, "Show or hide the list of what the refreshes changed"},
    {"&View", "History", 32880, "Show or hide the change history and its time slider"},
    {"&View", "History Settings...", 32881, "Keep a change history, for how long and where; desktop notifications"},
    {"&Arrange", "Arrange by &Connections", 32870,
     "Lay the picture out so that connected resources sit together\nArrange by Connections"},
    {"&Arrange", "Place &New Resources Near Neighbours", 32875,
     "On an arranged picture, put what a refresh adds beside what it connects to"},
    {"&Arrange", "Show &Neighbourhood…", 32872,
     "Show only the resources within a few hops of the selected node"},
    {"&Arrange", "Show &All Nodes", 32873, "Show every node of the picture again"},
    {"&Help", "&Help Topics", 57667, "List Help topics\nHelp Topics"},
    {"&Help", "&About Mapvine...", 57664, "Display program information and version number\nAbout"},
};

const std::pair<const char*, int> kAccelerators[] = {
    {"Ctrl+N", 57600}, {"Ctrl+O", 57601},   {"Ctrl+S", 57603},       {"Ctrl+P", 57607},    {"Ctrl+B", 32812},
    {"Ctrl+F", 32810}, {"F4", 32817},       {"F5", 32798},           {"F1", 57670},        {"Shift+F1", 57669},
    {"Ctrl+Z", 57643}, {"Alt+Backspace", 57643},
    {"Ctrl+=", 32900}, {"Ctrl+-", 32901},   {"Ctrl+0", 32902},       {"Ctrl+9", 32903},
};

QMenu* SubMenu(const QList<QAction*>& actions, const QString& title) {
  for (QAction* action : actions) {
    if (action->menu() && action->text() == title) return action->menu();
  }
  return nullptr;
}

// The menu a row's path names, or null.
QMenu* MenuAt(QMenuBar& bar, const QString& path) {
  const QStringList parts = path.split('/');
  QMenu* menu = SubMenu(bar.actions(), parts[0]);
  if (menu && parts.size() > 1) menu = SubMenu(menu->actions(), parts[1]);
  return menu;
}

// Command ids of a menu's items in order; pop-ups and separators left out.
std::vector<int> IdsIn(const QMenu& menu) {
  std::vector<int> ids;
  for (QAction* action : menu.actions()) {
    if (!action->isSeparator() && !action->menu() && action->isVisible()) ids.push_back(action->data().toInt());
  }
  return ids;
}

TEST(MainMenu, EveryItemCarriesItsTextIdKeysAndPrompts) {
  testing::RunningApp running;
  QMenuBar& bar = *running.Frame().menuBar();
  for (const MenuRow& row : kMenu) {
    SCOPED_TRACE(row.text);
    QMenu* menu = MenuAt(bar, row.path);
    ASSERT_NE(menu, nullptr) << row.path;
    QAction* item = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->data().toInt() == row.id) item = action;
    }
    ASSERT_NE(item, nullptr);
    const QString text = row.text;
    const QStringList textAndKeys = text.split('\t');
    EXPECT_EQ(item->text(), textAndKeys[0]);
    if (textAndKeys.size() > 1) {
      EXPECT_EQ(item->shortcut(), QKeySequence(textAndKeys[1], QKeySequence::PortableText));
    } else {
      EXPECT_TRUE(item->shortcut().isEmpty()) << item->shortcut().toString().toStdString();
    }
    const QStringList prompt = QString(row.prompt).split('\n');
    EXPECT_EQ(item->statusTip(), prompt[0]);
    if (prompt.size() > 1) {
      EXPECT_EQ(item->toolTip(), prompt[1]);
    }
  }
}

TEST(MainMenu, MenusHoldTheirItemsInOrder) {
  testing::RunningApp running;
  QMenuBar& bar = *running.Frame().menuBar();
  std::map<std::string, std::vector<int>> expected;
  std::vector<std::string> topMenus;
  for (const MenuRow& row : kMenu) {
    expected[row.path].push_back(row.id);
    const std::string top = QString(row.path).split('/')[0].toStdString();
    if (std::find(topMenus.begin(), topMenus.end(), top) == topMenus.end()) topMenus.push_back(top);
  }
  std::vector<std::string> shownMenus;
  for (QAction* action : bar.actions()) shownMenus.push_back(action->text().toStdString());
  EXPECT_EQ(shownMenus, topMenus);
  for (const auto& [path, ids] : expected) {
    QMenu* menu = MenuAt(bar, QString::fromStdString(path));
    ASSERT_NE(menu, nullptr) << path;
    EXPECT_EQ(IdsIn(*menu), ids) << path;
  }
}

TEST(MainMenu, EveryAcceleratorReachesItsCommandAlone) {
  testing::RunningApp running;
  for (const auto& [keys, id] : kAccelerators) {
    SCOPED_TRACE(keys);
    const QKeySequence sequence(keys, QKeySequence::PortableText);
    std::vector<int> carriers;
    for (QAction* action : running.Frame().findChildren<QAction*>()) {
      if (action->shortcuts().contains(sequence)) carriers.push_back(action->data().toInt());
    }
    // A key on two actions would be ambiguous and reach neither.
    EXPECT_EQ(carriers, std::vector<int>{id});
  }
}

TEST(MainMenu, CommandsWithoutHandlerAreUnavailable) {
  testing::RunningApp running;
  running.Frame().UpdateCommandStates();
  const int unhandled[] = {command::kEditUndo, command::kEditRedo};
  for (int id : unhandled) {
    QAction* action = running.Frame().ActionFor(id);
    ASSERT_NE(action, nullptr) << id;
    EXPECT_FALSE(action->isEnabled()) << id;
    EXPECT_FALSE(running.Frame().Route(id)) << id;
  }
  const int handled[] = {command::kFileNew, command::kFileSave, command::kRefresh, command::kTrace,
                         command::kNewBackgroundImage, command::kFindResource, command::kSettings,
                         command::kHideAllEndNodes, command::kShowAllUnreachable,
                         command::kShowHiddenNodes, command::kResizeBackground,
                         command::kBackgroundTile,
                         command::kManualAddNode, command::kHelpTopics, command::kAppExit};
  for (int id : handled) EXPECT_TRUE(running.Frame().ActionFor(id)->isEnabled()) << id;
}

TEST(MainMenu, TraceItemIsCheckedExactlyWhileTracing) {
  testing::RunningApp running;
  QAction* trace = running.Frame().ActionFor(command::kTrace);
  EXPECT_FALSE(trace->isChecked());
  trace->trigger();
  EXPECT_TRUE(TraceEnabled());
  EXPECT_TRUE(trace->isChecked());
  trace->trigger();
  EXPECT_FALSE(TraceEnabled());
  EXPECT_FALSE(trace->isChecked());
}

TEST(MainMenu, RecentFileIsGreyedUntilFilesAreRemembered) {
  testing::RunningApp running;
  QAction* first = running.Frame().ActionFor(command::kFileMruFirst);
  EXPECT_EQ(first->text(), "Recent File");
  EXPECT_FALSE(first->isEnabled());
  for (int i = 1; i < command::kRecentFileCount; ++i) {
    EXPECT_FALSE(running.Frame().ActionFor(command::kFileMruFirst + i)->isVisible());
  }
  running.Frame().SetRecentFiles({"/pictures/b.top", "/pictures/a&b.top", "/home/ann/net/b.top", "/b.top"});
  QStringList texts;
  for (int i = 0; i < 4; ++i) texts << running.Frame().ActionFor(command::kFileMruFirst + i)->text();
  // Files of the same name show as many folders as tell them apart.
  EXPECT_EQ(texts, (QStringList{"&1 /pictures/b.top", "&2 a&&b.top", "&3 .../net/b.top", "&4 /b.top"}));
}

TEST(ToolBar, ButtonsInOrderWithSixteenByFifteenImages) {
  testing::RunningApp running;
  auto* toolbar = running.Frame().findChild<QToolBar*>("toolbar");
  ASSERT_NE(toolbar, nullptr);
  std::vector<int> ids;
  for (QAction* action : toolbar->actions()) {
    ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    if (!action->isSeparator()) {
      const auto sizes = action->icon().availableSizes();
      ASSERT_FALSE(sizes.isEmpty()) << action->data().toInt();
      EXPECT_EQ(sizes.first(), QSize(16, 15));
    }
  }
  EXPECT_EQ(ids, (std::vector<int>{57600, 32791, 57601, 57603, 0, 32903, 0, 57669}));
  EXPECT_EQ(toolbar->iconSize(), QSize(16, 15));
  EXPECT_EQ(running.Frame().ActionFor(57600)->toolTip(), "New");
}

}  // namespace
}  // namespace mapvine
