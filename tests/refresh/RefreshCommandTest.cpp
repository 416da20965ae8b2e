#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "node/RefreshCommand.h"
#include "node/Trace.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

struct RecordingStatusLine : StatusLine {
  void SetStatusText(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

// A network of `count` network nodes NN0.. of which the first `failing`
// do not answer APING.
snanode::SimulatedNode NetworkNodes(int count, int failing) {
  std::string text;
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
  void Run(const snanode::SimulatedNode& node) {
    ::testing::internal::CaptureStdout();  // APING timings
    RefreshCommand(doc, [&node](void* b, std::uint32_t l) { node.Call(b, l); });
    ::testing::internal::GetCapturedStdout();
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

}  // namespace
}  // namespace mapvine
