#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "refresh/RefreshCommand.h"
#include "refresh/RefreshNotices.h"
#include "base/Trace.h"
#include "snanode/LiveNode.h"
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

// A network of `count` network nodes NN0.. of which the first `failing`
// do not answer APING.
snanode::SimulatedNode NetworkNodes(int count, int failing, std::string text = {}) {
  for (int i = 0; i < count; ++i) text += "nn NETA.NN" + std::to_string(i) + "\n";
  for (int i = 0; i < failing; ++i) {
    text += "aping NETA.NN" + std::to_string(i) + " fail 0x0300 0x05000000\n";
  }
  auto parsed = snanode::ParseNetwork(text, "test");
  EXPECT_TRUE(parsed.network) << parsed.error;
  return snanode::SimulatedNode(std::move(*parsed.network));
}

struct Refreshing : DocumentWithView {
  RecordingStatusLine status;
  Refreshing() { doc.AttachStatusLine(&status); }
  RefreshOutcome Run(const snanode::SimulatedNode& node) {
    ::testing::internal::CaptureStdout();  // APING timings
    const auto outcome = RefreshCommand(doc, [&node](void* b, std::uint32_t l) { node.Call(b, l); });
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
    if (!IsActive(node->status)) {
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
  for (const auto& node : r.doc.Nodes()) EXPECT_EQ(node->status, ResourceStatus::Active);
}

// The refresh reports the LU's link active again; the LU has not answered
// since, so the line stays red, also once the status pass is switched off.
TEST(RefreshCommand, AnUnreachableLuKeepsItsLinkDown) {
  Refreshing r;
  r.doc.settings.activeQuery = 1;
  const auto node = NetworkNodes(1, 0, "lu NETA.LU1 parent=NETA.NN0\naping NETA.LU1 fail 0x0300 0x05000000\n");
  for (int activeQuery : {1, 1, 0}) {
    r.doc.settings.activeQuery = activeQuery;
    r.Run(node);
    ASSERT_EQ(r.doc.Links().size(), 1u);
    EXPECT_EQ(r.doc.Links().begin()->get()->status, ResourceStatus::Inactive) << "status pass " << activeQuery;
  }
}

// The view hears that a refresh starts before the first node arrives and
// that it ends once the last has.
TEST(RefreshCommand, AnnouncesItsStartAndEndToTheView) {
  Refreshing r;
  r.Run(NetworkNodes(3, 0));
  EXPECT_EQ(r.view.nodesAtBatchAnnouncements, (std::vector<std::size_t>{0, 3}));
}

TEST(RefreshCommand, TellsTheListenerThatEachRunFinished) {
  Refreshing r;
  const auto node = NetworkNodes(3, 0);
  r.Run(node);
  r.Run(node);
  EXPECT_EQ(r.view.refreshesFinished, 2);
  EXPECT_FALSE(r.view.InBatch());
}

// A node that is down leaves the picture as it was, not all unreachable.
TEST(RefreshCommand, ANodeThatIsDownLeavesThePictureAsItWas) {
  Refreshing r;
  r.doc.settings.activeQuery = 1;
  r.doc.settings.showUnreachable = 0;
  r.Run(NetworkNodes(3, 0));
  EXPECT_EQ(RefreshFailureReason(r.Run(NetworkNodes(3, 0, "node-state not-started\n"))),
            "NodeTopologyQuery returned PARAMETER_CHECK, NODE_NOT_STARTED (primary 0x0100, secondary 0x00001B00)");
  EXPECT_EQ(r.doc.Nodes().size(), 3u);
  EXPECT_EQ(r.Hidden(), 0);
}

// A box for every failure asked for, the timer's only when a failure begins.
TEST(RefreshNotices, TimerWarnsOncePerSpellAndNotesTheRecovery) {
  const auto user = RefreshTrigger::User, timer = RefreshTrigger::Timer;
  const std::string failed = "Refresh failed: a", back = "Refresh works again: the node answers";
  const struct {
    RefreshTrigger trigger;
    const char* failure;
    std::string status;
    std::size_t boxes;   // so far
  } steps[] = {{timer, "", "No changes", 0}, {timer, "a", failed, 1}, {timer, "a", failed, 1},
               {user, "a", failed, 2}, {timer, "b", "Refresh failed: b", 3}, {timer, "", back, 3},
               {timer, "", "No changes", 3}, {timer, "a", failed, 4}};
  Refreshing r;
  testing::ScriptedPrompts prompts;
  RefreshNotices notices;
  for (const auto& s : steps) {
    r.status.texts.clear();
    notices.Report(r.doc, s.failure, s.trigger);
    EXPECT_EQ(r.status.texts.empty() ? "" : r.status.texts.back(), s.status) << s.failure;
    EXPECT_EQ(prompts.warnings.size(), s.boxes) << s.failure;
  }
}

// The simulated node is stopped for one refresh or a few, then started
// again: one box when it stopped, one "works again" when it answers, and no
// late failure after that.
TEST(RefreshNotices, ANodeThatComesBackGivesOneRecoveryAndNoLateFailure) {
  const std::string path = ::testing::TempDir() + "recovery-" + std::to_string(::getpid()) + ".net";
  for (const int failing : {1, 2, 3}) {
    std::ofstream(path, std::ios::trunc) << "node-state not-started\nnn NETA.NN1\n";
    snanode::LiveNode node(path);
    Refreshing r;
    testing::ScriptedPrompts prompts;
    RefreshNotices notices;
    const auto tick = [&] {
      const RefreshOutcome outcome =
          RefreshCommand(r.doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
      notices.Report(r.doc, RefreshFailureReason(outcome), RefreshTrigger::Timer);
      return r.status.texts.back();
    };
    for (int i = 0; i < failing; ++i) tick();
    std::ofstream(path, std::ios::trunc) << "node-state active\nnn NETA.NN1\n";
    EXPECT_EQ(tick(), "Refresh works again: the node answers") << failing;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tick(), "No changes") << failing;
    EXPECT_EQ(prompts.warnings.size(), 1u) << failing;
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace mapvine

