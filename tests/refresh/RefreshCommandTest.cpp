#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "node/RefreshCommand.h"
#include "node/RefreshNotices.h"
#include "node/Trace.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/model/FakeDocumentView.h"
#include "tests/support/ScriptedPrompts.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

struct RecordingStatusLine : StatusLine {
  void SetStatusText(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

snanode::SimulatedNode Serving(const std::string& text) {
  auto parsed = snanode::ParseNetwork(text, "test");
  EXPECT_TRUE(parsed.network) << parsed.error;
  return snanode::SimulatedNode(std::move(*parsed.network));
}

// A network of `count` network nodes NN0.. of which the first `failing`
// do not answer APING.
snanode::SimulatedNode NetworkNodes(int count, int failing) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "nn NETA.NN" + std::to_string(i) + "\n";
  for (int i = 0; i < failing; ++i) {
    text += "aping NETA.NN" + std::to_string(i) + " fail 0x0300 0x05000000\n";
  }
  return Serving(text);
}

struct Refreshing : DocumentWithView {
  RecordingStatusLine status;
  Refreshing() { doc.AttachStatusLine(&status); }
  RefreshOutcome Run(const snanode::SimulatedNode& node) {
    ::testing::internal::CaptureStdout();  // APING timings
    const RefreshOutcome outcome = RefreshCommand(doc, [&node](void* b, std::uint32_t l) { node.Call(b, l); });
    ::testing::internal::GetCapturedStdout();
    return outcome;
  }
  std::vector<std::string> ProgressTexts() const {
    std::vector<std::string> progress;
    for (const auto& t : status.texts) {
      if (t.rfind("Working...", 0) == 0) progress.push_back(t);
    }
    return progress;
  }
  int Hidden() const {
    int hidden = 0;
    for (const auto& node : doc.Nodes()) hidden += node->hidden;
    return hidden;
  }
};

TEST(RefreshCommand, StatusPassShowsProgressEveryTenNodes) {
  Refreshing r;
  r.doc.settings.activeQuery = 1;
  r.Run(NetworkNodes(25, 0));
  EXPECT_EQ(r.ProgressTexts(),
            (std::vector<std::string>{"Working... Checked status of nodes",
                                      "Working... Checked status of 0 nodes",
                                      "Working... Checked status of 10 nodes",
                                      "Working... Checked status of 20 nodes"}));
  EXPECT_EQ(r.Hidden(), 0);
}

TEST(RefreshCommand, UnreachableNodesTurnInactiveOrHide) {
  Refreshing shown;
  shown.doc.settings.activeQuery = 1;
  shown.Run(NetworkNodes(25, 5));
  int inactive = 0;
  for (const auto& node : shown.doc.Nodes()) {
    if (node->status == 0) {
      ++inactive;
      EXPECT_EQ(node->imageIndex, node->inactiveImage);
    }
  }
  EXPECT_EQ(inactive, 5);
  EXPECT_EQ(shown.Hidden(), 0);

  Refreshing hiding;
  hiding.doc.settings.activeQuery = 1;
  hiding.doc.settings.showUnreachable = 0;
  hiding.Run(NetworkNodes(25, 5));
  EXPECT_EQ(hiding.Hidden(), 5);
  // Hidden nodes are not queried on the next refresh, and are not counted.
  hiding.Run(NetworkNodes(25, 5));
  EXPECT_EQ(hiding.ProgressTexts().back(), "Working... Checked status of 10 nodes");
}

TEST(RefreshCommand, NoStatusPassWithoutActiveQuery) {
  Refreshing r;
  r.Run(NetworkNodes(25, 5));
  EXPECT_TRUE(r.ProgressTexts().empty());
  for (const auto& node : r.doc.Nodes()) EXPECT_EQ(node->status, 1);
}

TEST(RefreshCommand, ReArmsTheTimerOnlyWithAutoRefresh) {
  Refreshing r;
  const auto node = NetworkNodes(3, 0);
  r.Run(node);
  r.doc.settings.autoRefresh = 1;
  r.doc.settings.refreshSeconds = 60;
  r.Run(node);
  EXPECT_EQ(r.view.timerPeriods, (std::vector<int>{0, 60000}));
  EXPECT_EQ(r.view.waitCursor, (std::vector<bool>{true, false, true, false}));
  EXPECT_FALSE(r.view.painting);
}

// A node that is down has said nothing about the network: the picture keeps
// what it had, with its statuses, instead of every node turning unreachable.
TEST(RefreshCommand, ANodeThatIsDownLeavesThePictureAsItWas) {
  Refreshing r;
  r.doc.settings.activeQuery = 1;
  r.doc.settings.showUnreachable = 0;
  ASSERT_TRUE(r.Run(NetworkNodes(3, 0)).Succeeded());
  r.status.texts.clear();

  const RefreshOutcome outcome = r.Run(Serving("nn NETA.NN0\nnode-state not-started\n"));
  EXPECT_FALSE(outcome.Succeeded());
  EXPECT_EQ(RefreshFailureReason(outcome),
            "NodeTopologyQuery returned PARAMETER_CHECK, NODE_NOT_STARTED (primary 0x0100, secondary 0x00001B00)");
  EXPECT_EQ(r.doc.Nodes().size(), 3u);
  EXPECT_EQ(r.Hidden(), 0);
  for (const auto& node : r.doc.Nodes()) EXPECT_EQ(node->status, 1);
  EXPECT_TRUE(r.ProgressTexts().empty());
  EXPECT_EQ(RefreshFailureReason(r.Run(NetworkNodes(3, 0))), "");
}

// What the person sees over a run of refreshes: every failure in the status
// line, a message box for each one asked for but for the timer only when a
// failure begins or changes, and a word when the node answers again.
TEST(RefreshNotices, TimerFailuresAreReportedOncePerSpellAndTheirEnd) {
  constexpr auto kUser = RefreshTrigger::User;
  constexpr auto kTimer = RefreshTrigger::Timer;
  const std::string down = "Refresh failed: down";
  const std::string other = "Refresh failed: other";
  const std::string back = "Refresh works again: the node answers";
  const struct {
    RefreshTrigger trigger;
    const char* failure;
    std::string status;  // empty: the notices leave the status line alone
    bool box;
  } steps[] = {
      {kTimer, "", "", false},     {kTimer, "down", down, true},   {kTimer, "down", down, false},
      {kUser, "down", down, true}, {kTimer, "other", other, true}, {kTimer, "", back, false},
      {kTimer, "", "", false},     {kUser, "", "", false},         {kTimer, "down", down, true},
  };
  Refreshing r;
  testing::ScriptedPrompts prompts;
  RefreshNotices notices;
  int step = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(step++);
    r.status.texts.clear();
    prompts.warnings.clear();
    notices.Report(r.doc, s.failure, s.trigger);
    EXPECT_EQ(r.status.texts, s.status.empty() ? std::vector<std::string>{} : std::vector<std::string>{s.status});
    EXPECT_EQ(prompts.warnings.size(), s.box ? 1u : 0u);
    if (s.box) EXPECT_EQ(prompts.warnings[0].rfind(s.status + "\n", 0), 0u) << prompts.warnings[0];
    EXPECT_TRUE(prompts.messages.empty());
  }
}

}  // namespace
}  // namespace mapvine
