#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "app/CommandRouter.h"
#include "app/MenuLayout.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"
#include "view/CommandTable.h"

namespace mapvine {
namespace {

// A target that handles a fixed set of commands and records what reached it.
struct RecordingTarget final : CommandTarget {
  explicit RecordingTarget(std::vector<int> ids, bool enabled = true) : handles(std::move(ids)), enabled(enabled) {}
  bool OnCommand(int id) override {
    if (std::find(handles.begin(), handles.end(), id) == handles.end()) return false;
    received.push_back(id);
    return true;
  }
  std::optional<CommandState> CommandStateOf(int id) const override {
    if (std::find(handles.begin(), handles.end(), id) == handles.end()) return std::nullopt;
    return CommandState{enabled, id == 7};
  }
  std::vector<int> handles;
  bool enabled;
  std::vector<int> received;
};

TEST(CommandRouter, FirstTargetThatHandlesWins) {
  RecordingTarget view({1, 2}), document({2, 3}), frame({3, 4}), application({4, 5, 7});
  const CommandRouter router{&view, &document, &frame, &application};
  for (int id : {1, 2, 3, 4, 5, 7}) EXPECT_TRUE(router.Route(id));
  EXPECT_FALSE(router.Route(6));
  EXPECT_EQ(view.received, (std::vector<int>{1, 2}));
  EXPECT_EQ(document.received, (std::vector<int>{3}));
  EXPECT_EQ(frame.received, (std::vector<int>{4}));
  EXPECT_EQ(application.received, (std::vector<int>{5, 7}));
  EXPECT_TRUE(router.StateOf(7).checked);
  EXPECT_FALSE(router.StateOf(6).enabled);
}

TEST(CommandRouter, DisabledCommandIsNotRun) {
  RecordingTarget view({1}, false), document({1});
  const CommandRouter router{&view, nullptr, &document};
  EXPECT_FALSE(router.Route(1));
  EXPECT_TRUE(view.received.empty());
  EXPECT_TRUE(document.received.empty());
  EXPECT_FALSE(router.StateOf(1).enabled);
}

// The real chain: the view answers print itself, the document refresh and
// trace, the frame help and the application new and exit.
TEST(MainFrameRouting, EachCommandReachesItsOwner) {
  testing::RunningApp running;
  CMainFrame& frame = running.Frame();
  EXPECT_EQ(running.View().CommandStateOf(command::kFilePrint).has_value(), true);
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
  EXPECT_EQ(byKey.View().DisplayedCount(), 36);
  EXPECT_EQ(byKey.Status(), "36 nodes, 49 links");  // the first refresh of a new picture
  EXPECT_EQ(byMenu.Status(), byKey.Status());
  EXPECT_EQ(byMenu.View().PictureImage(), byKey.View().PictureImage());
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
  const std::unique_ptr<QMenu> menu = running.View().BuildContextMenu(centre);
  ASSERT_EQ(running.View().MenuNode(), node);
  QAction* host = nullptr;
  for (QAction* action : menu->findChildren<QAction*>()) {
    if (action->data().toInt() == command::kIconHost) host = action;
  }
  ASSERT_NE(host, nullptr);
  host->trigger();
  EXPECT_EQ(node->activeImage, kHostSlot);
  EXPECT_EQ(node->inactiveImage, kHostSlot + kInactiveOffset);
  EXPECT_EQ(node->imageIndex, kHostSlot + kInactiveOffset);
  EXPECT_TRUE(running.Doc().IsModified());
}

}  // namespace
}  // namespace mapvine
