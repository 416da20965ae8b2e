// What each refresh finds changed, on a network whose timeline makes
// resources appear, go, come back and flip.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "model/ChangeComparison.h"
#include "model/SavedTopology.h"
#include "refresh/RefreshCommand.h"
#include "snanode/LiveNode.h"
#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

std::vector<std::string> Lines(std::vector<TopologyChange> changes) {
  SortChanges(changes);
  std::vector<std::string> lines;
  for (const auto& change : changes) lines.push_back(ChangeLine(change));
  return lines;
}

TEST(ChangeTracking, EachRefreshReportsWhatAppearedWentAndFlipped) {
  const std::string path = ::testing::TempDir() + "changes-" + std::to_string(::getpid()) + ".net";
  // TG 21 goes down and comes back while its twin 22 stays up; NN3 comes,
  // goes (kept in the picture, stale) and comes back; NN2 congests and recovers.
  std::ofstream(path) << "nn NETA.NN1\nnn NETA.NN2\nen NETA.EN1 server=NETA.NN1\nlu NETA.LU1 parent=NETA.EN1\n"
                         "tg NETA.NN1 NETA.NN2 21 operative\ntg NETA.NN1 NETA.NN2 22 operative\n"
                         "at 10 tg NETA.NN1 NETA.NN2 21\nat 10 nn NETA.NN2 congested\n"
                         "at 20 nn NETA.NN3\nat 20 tg NETA.NN1 NETA.NN3 1 operative\nat 30 remove NETA.NN3\n"
                         "at 40 nn NETA.NN3\nat 40 tg NETA.NN1 NETA.NN3 1 operative\n"
                         "at 40 tg NETA.NN1 NETA.NN2 21 operative\nat 40 nn NETA.NN2\n";
  // A new picture has nothing to compare with: its first refresh is the
  // baseline and only says what it found.
  const std::vector<std::string> everythingNew = {
      "new NETA.EN1", "new NETA.LU1", "new NETA.NN1", "new NETA.NN2", "new NETA.EN1 NETA.NN1 0",
      "new NETA.LU1 NETA.EN1 0", "new NETA.NN1 NETA.NN2 21", "new NETA.NN1 NETA.NN2 22"};
  const struct {
    int seconds;
    std::vector<std::string> lines;
    std::string summary;
  } rows[] = {
      {0, {}, "4 nodes, 4 links"},
      {5, {}, "No changes"},
      {10, {"inactive NETA.NN2", "inactive NETA.NN1 NETA.NN2 21"}, "2 went inactive"},
      {20, {"new NETA.NN3", "new NETA.NN1 NETA.NN3 1"}, "2 new"},
      {30, {"gone NETA.NN3", "gone NETA.NN1 NETA.NN3 1"}, "2 gone"},
      {35, {}, "No changes"},
      {40, {"active NETA.NN2", "new NETA.NN3", "active NETA.NN1 NETA.NN2 21", "new NETA.NN1 NETA.NN3 1"},
       "2 new, 2 went active"},
  };
  snanode::LiveNode node(path);
  const auto refresh = [&node](CMapvineDoc& doc) {
    RefreshCommand(doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
  };
  // A first refresh the node does not answer sets no baseline.
  const std::string downPath = path + ".down";
  std::ofstream(downPath) << "node-state not-started\n";
  snanode::LiveNode down(downPath);
  testing::DocumentWithView picture;
  CMapvineDoc& doc = picture.doc;
  RefreshCommand(doc, [&down](void* block, std::uint32_t length) { down.Call(block, length); });
  EXPECT_FALSE(doc.HasBaseline());
  std::remove(downPath.c_str());
  for (const auto& row : rows) {
    setenv("SNANODE_TIME", std::to_string(row.seconds).c_str(), 1);
    if (row.seconds == 5) {
      // What a person adds is not the network's: no refresh misses it.
      doc.ManualAddNode();
      doc.NewLink(*doc.NodesByArrival().back(), *doc.FindNode("NN1"));
    }
    refresh(doc);
    EXPECT_EQ(Lines(doc.lastChanges.Changes()), row.lines) << row.seconds;
    EXPECT_EQ(ChangeSummary(doc.lastChanges), row.summary) << row.seconds;
    EXPECT_EQ(doc.lastChanges.baseline, row.seconds == 0);
    if (row.seconds == 0) {
      for (const auto& link : doc.Links()) EXPECT_EQ(link->changeMark, ChangeMark::None);
    }
    const CNode* nn3 = doc.FindNode("NN3");
    if (row.seconds >= 30) {
      ASSERT_NE(nn3, nullptr);
      EXPECT_EQ(nn3->stale, row.seconds < 40) << row.seconds;
      EXPECT_EQ(nn3->status, ResourceStatus::Active);  // its last status while gone
    }
  }
  // Marks last until acknowledged.
  EXPECT_EQ(doc.FindNode("NN2")->changeMark, ChangeMark::WentActive);
  AcknowledgeChanges(doc);
  for (const auto& link : doc.Links()) EXPECT_EQ(link->changeMark, ChangeMark::None);

  // A picture opened from a file has its baseline: an empty one saved and
  // opened again finds everything new.
  setenv("SNANODE_TIME", "0", 1);
  const std::string saved = path + ".top";
  testing::DocumentWithView empty;
  ASSERT_TRUE(SaveTopologyFile(empty.doc, saved));
  ASSERT_EQ(OpenTopologyFile(empty.doc, saved), LoadOutcome::Loaded);
  refresh(empty.doc);
  EXPECT_EQ(Lines(empty.doc.lastChanges.Changes()), everythingNew);
  EXPECT_FALSE(empty.doc.lastChanges.baseline);
  unsetenv("SNANODE_TIME");
  std::remove(saved.c_str());
  std::remove(path.c_str());
}

// The window hears of every node and link whose status, staleness or mark
// a refresh changed (a link through its ends), or draws everything anew;
// on a large picture a few changes must not cost the whole of it.
TEST(ChangeTracking, TheWindowHearsOfEachChangedLookAndOnlyThen) {
  const std::string path = ::testing::TempDir() + "looks-" + std::to_string(::getpid()) + ".net";
  std::ofstream network(path);
  network << "nn NETA.NN1\nnn NETA.NN2\nlu NETA.LU1 parent=NETA.NN2\ntg NETA.NN1 NETA.NN2 21 operative\n"
             "at 10 tg NETA.NN1 NETA.NN2 21\nat 20 remove NETA.LU1\nat 30 nn NETA.NN3\n";
  // Quiet nodes, so that the changes are a small share of the picture.
  for (int i = 0; i < 40; ++i) network << "nn NETA.Q" << i << "\n";
  network.close();
  snanode::LiveNode node(path);
  testing::DocumentWithView picture;
  CMapvineDoc& doc = picture.doc;
  using Looks = std::tuple<ResourceStatus, bool, ChangeMark>;
  std::map<const void*, Looks> before;
  for (const int seconds : {0, 5, 10, 20, 30}) {
    before.clear();
    for (const auto& n : doc.Nodes()) before[n.get()] = {n->status, n->stale, n->changeMark};
    for (const auto& l : doc.Links()) before[l.get()] = {l->status, l->stale, l->changeMark};
    picture.view.changedNodes.clear();
    const int fullRedraws = picture.view.fullRedraws;
    setenv("SNANODE_TIME", std::to_string(seconds).c_str(), 1);
    RefreshCommand(doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
    const auto changed = [&before](const void* item, const Looks& now) {
      const auto was = before.find(item);
      return was == before.end() || was->second != now;
    };
    const auto told = [&picture](const CNode* n) {
      return std::find(picture.view.changedNodes.begin(), picture.view.changedNodes.end(), n) !=
             picture.view.changedNodes.end();
    };
    // Statuses and staleness alone never draw everything anew; what came
    // may grow the picture, which does.
    if (seconds == 10 || seconds == 20) {
      EXPECT_EQ(picture.view.fullRedraws, fullRedraws) << seconds;
    }
    if (picture.view.fullRedraws > fullRedraws) continue;
    for (const auto& n : doc.Nodes()) {
      if (changed(n.get(), {n->status, n->stale, n->changeMark})) {
        EXPECT_TRUE(told(n.get())) << n->label << " " << seconds;
      }
    }
    for (const auto& l : doc.Links()) {
      if (changed(l.get(), {l->status, l->stale, l->changeMark})) {
        EXPECT_TRUE(told(l->endA) && told(l->endB)) << l->title << " " << seconds;
      }
    }
    EXPECT_LT(picture.view.changedNodes.size(), 8u) << seconds;
  }
  unsetenv("SNANODE_TIME");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace mapvine
