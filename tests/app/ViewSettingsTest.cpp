#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/app/AppFixture.h"
#include "tests/view/DialogSupport.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

using dialogtest::DialogScript;
using dialogtest::Find;
using dialogtest::PressCancel;
using dialogtest::PressOk;

constexpr const char* kNote =
    "Note: Enabling Actively Query Status will cause unreachable nodes to appear greyed out.  "
    "Checking this box enables node status but also increases refresh time since every "
    "displayed node (every node not hidden) is APINGed.";

QCheckBox& Check(QDialog& dialog, int id) {
  return Find<QCheckBox>(dialog, QStringLiteral("check%1").arg(id).toUtf8().constData());
}

// The check boxes by number with their texts, and every other text.
struct DialogTexts {
  std::map<int, std::string> checks;
  std::vector<std::string> others;
};

DialogTexts TextsOf(QDialog& dialog) {
  DialogTexts texts;
  texts.others.push_back(dialog.windowTitle().toStdString());
  for (int id = 1057; id <= 1065; ++id) {
    if (id == 1064) continue;
    texts.checks[id] = Check(dialog, id).text().toStdString();
  }
  for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
    texts.others.push_back(group->title().toStdString());
  }
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    texts.others.push_back(label->text().toStdString());
  }
  return texts;
}

// Runs View Settings with `act` working the dialog.
void RunSettings(testing::RunningApp& running, const std::function<void(QDialog&)>& act) {
  DialogScript script(act);
  ASSERT_TRUE(running.Frame().Route(command::kSettings));
  ASSERT_EQ(script.opened, 1);
}

TEST(ViewSettingsDialog, ShowsTheDocumentsSettingsAndCancelKeepsThem) {
  testing::RunningApp running;
  DocumentSettings& settings = running.Doc().settings;
  settings.showEnOnDiscovery = 0;
  settings.autoTile = 1;
  settings.refreshSeconds = 75;
  const DocumentSettings before = settings;
  DialogTexts texts;
  std::map<int, bool> checked;
  std::string seconds;
  RunSettings(running, [&](QDialog& dialog) {
    texts = TextsOf(dialog);
    for (const auto& [id, text] : texts.checks) checked[id] = Check(dialog, id).isChecked();
    seconds = Find(dialog, "box1066").text().toStdString();
    for (const auto& [id, text] : texts.checks) Check(dialog, id).toggle();
    Find(dialog, "box1066").setText("5");
    PressCancel(dialog);
  });
  const std::map<int, std::string> expectedChecks = {
      {1057, "Network Nodes"},
      {1058, "Connection Networks"},
      {1059, "End Nodes"},
      {1060, "Logical Units (LUs)"},
      {1061, "Automatically grow and shrink view as nodes are added and hidden"},
      {1062, "Automatically tile view (layout nodes in grid) when size decreases or nodes are hidden"},
      {1063, "Actively Query Status of viewed nodes after Refresh (APING)"},
      {1065, "Auto Refresh Every"},
  };
  EXPECT_EQ(texts.checks, expectedChecks);
  EXPECT_EQ(texts.others, (std::vector<std::string>{"View Settings",
                                                    "Select node types to pop up when discovered",
                                                    "Select Global View Settings", "second(s)",
                                                    "Status checks at once", "each given up after", kNote}));
  const std::map<int, bool> expectedChecked = {{1057, true}, {1058, true}, {1059, false}, {1060, true},
                                               {1061, true}, {1062, true}, {1063, false}, {1065, false}};
  EXPECT_EQ(checked, expectedChecked);
  EXPECT_EQ(seconds, "75");

  const DocumentSettings& after = running.Doc().settings;
  EXPECT_EQ(after.showEnOnDiscovery, before.showEnOnDiscovery);
  EXPECT_EQ(after.autoTile, before.autoTile);
  EXPECT_EQ(after.autoGrow, before.autoGrow);
  EXPECT_EQ(after.refreshSeconds, 75);
}

TEST(ViewSettingsDialog, PeriodOutsideOneTo32000IsRefusedAndTheDialogStaysOpen) {
  struct Case {
    const char* typed;
    const char* message;  // null: accepted
  };
  const char* range = "Please enter an integer between 1 and 32000.";
  for (const Case& c : {Case{"0", range}, Case{"32001", range}, Case{"99999999999999999999", range},
                        Case{"", "Please enter an integer."}, Case{"1", nullptr},
                        Case{"32000", nullptr}}) {
    SCOPED_TRACE(c.typed);
    testing::RunningApp running;
    running.Doc().SetModified(false);
    bool stayedOpen = false;
    RunSettings(running, [&](QDialog& dialog) {
      Check(dialog, 1062).setChecked(true);
      Find(dialog, "box1066").setText(c.typed);
      PressOk(dialog);
      stayedOpen = dialog.isVisible();
    });
    const DocumentSettings& settings = running.Doc().settings;
    if (c.message != nullptr) {
      EXPECT_TRUE(stayedOpen);
      EXPECT_EQ(running.Prompts().messages, std::vector<std::string>{c.message});
      EXPECT_EQ(settings.refreshSeconds, 60);
      EXPECT_EQ(settings.autoTile, 0);  // nothing is written back
    } else {
      EXPECT_FALSE(stayedOpen);
      EXPECT_TRUE(running.Prompts().messages.empty());
      EXPECT_EQ(settings.refreshSeconds, std::stoi(c.typed));
      EXPECT_EQ(settings.autoTile, 1);
    }
    // The settings are saved with the picture: a change is offered for saving.
    EXPECT_EQ(running.Doc().IsModified(), c.message == nullptr);
  }
}

TEST(ViewSettingsDialog, SwitchingAutoRefreshOnRefreshesAtOnceWithTheNewPeriod) {
  testing::RunningApp running;
  ASSERT_TRUE(running.Doc().Nodes().empty());
  RunSettings(running, [](QDialog& dialog) {
    Check(dialog, 1065).setChecked(true);
    Find(dialog, "box1066").setText("5");
    PressOk(dialog);
  });
  testing::FinishRefresh(running.app);
  EXPECT_EQ(running.Doc().settings.autoRefresh, 1);
  EXPECT_EQ(running.Doc().Nodes().size(), 36u);  // the sample network
  EXPECT_EQ(running.app.Commands().Timer().Period(), 5000);
}

TEST(ViewSettingsDialog, SwitchingAutoRefreshOffStopsTheTimer) {
  testing::RunningApp running;
  running.Doc().settings.autoRefresh = 1;
  running.app.Commands().Timer().Start(60000);
  RunSettings(running, [](QDialog& dialog) {
    Check(dialog, 1065).setChecked(false);
    PressOk(dialog);
  });
  EXPECT_EQ(running.app.Commands().Timer().Period(), 0);
  EXPECT_TRUE(running.Doc().Nodes().empty());
}

TEST(ViewSettingsDialog, NewPeriodWhileOnWaitsForTheNextRefresh) {
  testing::RunningApp running;
  running.Doc().settings.autoRefresh = 1;
  running.app.Commands().Timer().Start(60000);
  RunSettings(running, [](QDialog& dialog) {
    Find(dialog, "box1066").setText("10");
    PressOk(dialog);
  });
  EXPECT_EQ(running.Doc().settings.refreshSeconds, 10);
  EXPECT_TRUE(running.Doc().Nodes().empty());
  EXPECT_EQ(running.app.Commands().Timer().Period(), 60000);
  running.Refresh();
  EXPECT_EQ(running.app.Commands().Timer().Period(), 10000);
}

TEST(MainMenu, BackgroundItemsCheckTheCurrentArrangement) {
  testing::RunningApp running;
  const int ids[] = {command::kBackgroundTile, command::kBackgroundStretch, command::kBackgroundCenter};
  for (int chosen : {command::kBackgroundCenter, command::kBackgroundStretch, command::kBackgroundTile}) {
    ASSERT_TRUE(running.Frame().Route(chosen));
    for (int id : ids) {
      EXPECT_EQ(running.Frame().ActionFor(id)->isChecked(), id == chosen) << chosen << " " << id;
      EXPECT_TRUE(running.Frame().ActionFor(id)->isEnabled());
    }
  }
}

// A loaded picture brings its own auto refresh: the timer follows it.
TEST(RefreshTimer, ALoadedPictureArmsItWithItsPeriodOrStopsIt) {
  testing::RunningApp running;
  RefreshTimer& timer = running.app.Commands().Timer();
  DocumentSettings& settings = running.Doc().settings;
  ASSERT_EQ(running.Doc().Listener(), &timer);
  settings.autoRefresh = 1;
  settings.refreshSeconds = 45;
  timer.PictureLoaded();
  EXPECT_EQ(timer.Period(), 45000);
  settings.autoRefresh = 0;
  timer.PictureLoaded();
  EXPECT_EQ(timer.Period(), 0);
}

}  // namespace
}  // namespace mapvine
