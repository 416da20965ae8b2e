#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "app/MenuLayout.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"
#include "view/CommandTable.h"

namespace mapvine {
namespace {

TEST(CommandBindings, OneOwnerPerCommandAndADisabledCommandDoesNotRun) {
  CommandBindings commands;
  std::vector<int> ran;
  bool enabled = false;
  commands.Bind(command::kTileNodes, [&] { ran.push_back(command::kTileNodes); },
                [&] { return CommandState{.enabled = enabled, .checked = true}; });
  commands.Bind(command::kTileNodes, [&] { ran.push_back(-1); });  // a second owner
  commands.Bind(12345, [&] { ran.push_back(12345); });             // no row in the table
  commands.Bind(command::kFileMruFirst + 2, [&] { ran.push_back(command::kFileMruFirst + 2); });
  EXPECT_EQ(commands.Refused(), (std::vector<int>{command::kTileNodes, 12345}));

  EXPECT_FALSE(commands.Run(command::kTileNodes));
  EXPECT_FALSE(commands.StateOf(command::kTileNodes)->enabled);
  enabled = true;
  EXPECT_TRUE(commands.Run(command::kTileNodes));
  EXPECT_TRUE(commands.StateOf(command::kTileNodes)->checked);
  EXPECT_TRUE(commands.Run(command::kFileMruFirst + 2));
  EXPECT_FALSE(commands.Run(12345));
  EXPECT_FALSE(commands.StateOf(command::kRefresh).has_value());
  EXPECT_EQ(ran, (std::vector<int>{command::kTileNodes, command::kFileMruFirst + 2}));
}

// Every command of the table has one owner in the running program; only the
// docked windows' toggles and History Settings are their windows' own
// actions.
TEST(MainFrameRouting, EveryCommandIsBoundOnce) {
  testing::RunningApp running;
  const CommandBindings& bindings = running.Frame().Bindings();
  EXPECT_TRUE(bindings.Refused().empty());
  for (const CommandInfo& info : Commands()) {
    const bool windowsOwn = info.id == command::kChangesWindow || info.id == command::kHistoryWindow ||
                            info.id == command::kHistorySettings;
    EXPECT_EQ(bindings.StateOf(info.id).has_value(), !windowsOwn) << info.id;
  }
}

// Each command reaches its owner: the view prints, the document adds a
// node, the frame shows help and the application starts a new picture.
TEST(MainFrameRouting, EachCommandReachesItsOwner) {
  testing::RunningApp running;
  CMainFrame& frame = running.Frame();
  EXPECT_TRUE(frame.ActionFor(command::kFilePrint)->isEnabled());

  ASSERT_TRUE(frame.Route(command::kManualAddNode));
  EXPECT_EQ(running.Doc().Nodes().size(), 1u);

  EXPECT_TRUE(frame.Route(command::kHelp));
  ASSERT_NE(frame.HelpWindow(), nullptr);
  EXPECT_TRUE(frame.HelpWindow()->isVisible());

  // The document was modified by the new node; "No" drops it for a new one.
  running.app.Commands().askSaveChanges = [](const QString&) { return SaveChoice::No; };
  EXPECT_TRUE(frame.Route(command::kFileNew));
  EXPECT_EQ(running.Doc().Nodes().size(), 0u);
  EXPECT_FALSE(running.Doc().IsModified());
}

TEST(MainFrameRouting, HelpTopicsShowTheProgramsOwnHelp) {
  testing::RunningApp running;
  running.Frame().ActionFor(command::kHelpTopics)->trigger();
  ASSERT_NE(running.Frame().HelpWindow(), nullptr);
  auto* text = running.Frame().HelpWindow()->findChild<QTextBrowser*>("helpText");
  ASSERT_NE(text, nullptr);
  const QString help = text->toPlainText();
  for (const char* topic : {"F5", "green", "red", "SNANODE_NETWORK", "Saved Topology",
                            "Locate Resource", "Show Nodes", "View Settings", "Resize Window"}) {
    EXPECT_TRUE(help.contains(topic)) << topic;
  }
  // Every menu command and every key is explained.
  for (const auto& item : MainMenuItems()) {
    if (item.id == 0) continue;
    for (const char* name : {item.submenu, FindCommand(item.id)->text}) {
      const QString shown = QString(name).remove('&');
      EXPECT_TRUE(name == nullptr || help.contains(shown)) << shown.toStdString();
    }
  }
  for (const CommandInfo& info : Commands()) {
    if (info.keys == nullptr) continue;
    for (const QString& key : QString(info.keys).split("; ")) {
      EXPECT_TRUE(help.contains(key)) << key.toStdString();
    }
  }
}

// F5 and the menu item run the same refresh against the node.
TEST(MainFrameRouting, F5AndTheMenuItemRefreshAlike) {
  testing::RunningApp byKey;
  testing::RunningApp byMenu;
  byKey.Frame().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&byKey.Frame()));
  byKey.Frame().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&byKey.Frame()));
  QTest::keyClick(&byKey.Frame(), Qt::Key_F5);
  byMenu.Frame().ActionFor(command::kRefresh)->trigger();
  testing::FinishRefresh(byKey.app);
  testing::FinishRefresh(byMenu.app);

  EXPECT_EQ(byKey.Doc().Nodes().size(), 36u);
  EXPECT_EQ(byMenu.Doc().Nodes().size(), byKey.Doc().Nodes().size());
  EXPECT_EQ(byMenu.Doc().Links().size(), byKey.Doc().Links().size());
  EXPECT_EQ(byKey.View().Counts().Displayed(), 36);
  EXPECT_EQ(byKey.Status(), "36 nodes, 49 links");  // the first refresh of a new picture
  EXPECT_EQ(byMenu.Status(), byKey.Status());
  EXPECT_EQ(byMenu.View().Frame().PictureImage(), byKey.View().Frame().PictureImage());
}

// Keys nothing would handle are bound to nothing: copy, cut, paste and
// the pane keys pass on to the focused widget.
TEST(MainFrameRouting, KeysWithoutAHandlerAreNotBound) {
  testing::RunningApp running;
  for (const char* key : {"Ctrl+C", "Ctrl+Ins", "Ctrl+X", "Shift+Del", "Ctrl+V", "Shift+Ins", "F6", "Shift+F6"}) {
    for (const QAction* action : running.Frame().findChildren<QAction*>()) {
      EXPECT_FALSE(action->shortcuts().contains(QKeySequence(key))) << key << " on " << action->text().toStdString();
    }
  }
}

TEST(MainFrameRouting, ExitOffersAModifiedPictureForSaving) {
  struct Case {
    SaveChoice answer;
    bool closed;
  };
  for (const Case c : {Case{SaveChoice::Cancel, false}, Case{SaveChoice::No, true}}) {
    testing::RunningApp running;
    running.Frame().show();
    running.Frame().Route(command::kManualAddNode);
    int asked = 0;
    running.app.Commands().askSaveChanges = [&](const QString& name) {
      ++asked;
      EXPECT_EQ(name, "Untitled");
      return c.answer;
    };
    running.Frame().Route(command::kAppExit);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(running.Frame().isVisible(), !c.closed);
  }
  // An unmodified picture closes without a question.
  testing::RunningApp running;
  running.Frame().show();
  running.app.Commands().askSaveChanges = [](const QString&) -> SaveChoice {
    ADD_FAILURE() << "asked";
    return SaveChoice::Cancel;
  };
  running.Frame().close();
  EXPECT_FALSE(running.Frame().isVisible());
}

// A choice from a node's context menu goes down the main chain: the icon
// commands reach the document and act on the node that was right-clicked.
TEST(CommandRouting, ContextMenuIconCommandsActOnTheClickedNode) {
  testing::RunningApp running;
  running.Refresh();
  CNode* node = running.Doc().FindNode("EN1");
  ASSERT_NE(node, nullptr);
  node->status = ResourceStatus::Inactive;
  running.Doc().ApplyStatusImage(*node);
  // A point on the icon's opaque middle.
  const Point centre = node->GetCenter();
  const std::unique_ptr<QMenu> menu = running.View().Menus().Build(centre);
  ASSERT_EQ(running.View().Picks().menuNode, node);
  QAction* host = nullptr;
  for (QAction* action : menu->findChildren<QAction*>()) {
    if (action->data().toInt() == command::kIconHost) host = action;
  }
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(host->isEnabled());
  // The standard icon families need a node; custom icons never do.
  const CommandBindings& bindings = running.Frame().Bindings();
  const std::unique_ptr<QMenu> background = running.View().Menus().Build({-100, -100});
  for (const int id : {command::kIconHost, command::kIconWorkstation, command::kIconServerWorkstation,
                       command::kIconSameForBoth}) {
    EXPECT_FALSE(bindings.StateOf(id)->enabled) << id;
  }
  for (const int id : {command::kIconActive, command::kIconInactive}) EXPECT_TRUE(bindings.StateOf(id)->enabled) << id;
  running.View().Menus().Build(centre);
  host->trigger();
  EXPECT_EQ(node->activeImage, kHostSlot);
  EXPECT_EQ(node->inactiveImage, kHostSlot + kInactiveOffset);
  EXPECT_EQ(node->imageIndex, kHostSlot + kInactiveOffset);
  EXPECT_TRUE(running.Doc().IsModified());
}

}  // namespace
}  // namespace mapvine
