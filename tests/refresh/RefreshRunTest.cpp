#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <sstream>

#include "base/Trace.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"
#include "refresh/RefreshRun.h"
#include "refresh/TaskQueue.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/model/FakeDocumentView.h"
#include "tests/refresh/InTraceFolder.h"

namespace mapvine {
namespace {

// A simulated node whose verbs wait at a gate until the test opens it: the
// test decides in which order answers come back, and which never do.
class GatedNode {
 public:
  explicit GatedNode(std::string_view description)
      : node_(*snanode::ParseNetwork(description, "test").network) {}
  // Waits for the verbs still inside: their threads are not joined.
  ~GatedNode() {
    OpenAll();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return inside_ == 0; });
  }

  // Opcode 0 stands for the topology and directory queries, else the
  // partner's name is the key.
  void Call(void* block, std::uint32_t length) {
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    std::string key = "query";
    if (snawire::GetU16(bytes, snawire::kOpcode) == snawire::kOpAping) {
      key = DecodeName(std::span(bytes + snawire::kApingPartner, snawire::kNameLength)
                           .template first<snawire::kNameLength>());
    }
    std::unique_lock lock(mutex_);
    ++inside_;
    waiting_.insert(key);
    changed_.notify_all();
    changed_.wait(lock, [&] { return all_ || open_.count(key) > 0; });
    waiting_.erase(key);
    changed_.notify_all();
    lock.unlock();
    node_.Call(block, length);
    lock.lock();
    --inside_;
    changed_.notify_all();
  }
  SnaCtlFunction Calls() {
    return [this](void* b, std::uint32_t l) { Call(b, l); };
  }

  void Open(const std::string& key) {
    const std::lock_guard lock(mutex_);
    open_.insert(key);
    changed_.notify_all();
  }
  void OpenAll() {
    const std::lock_guard lock(mutex_);
    all_ = true;
    changed_.notify_all();
  }
  std::set<std::string> Waiting() {
    const std::lock_guard lock(mutex_);
    return waiting_;
  }
  // Waits until exactly this many verbs wait at the gate (a verb once opened
  // leaves the set before it answers).
  std::set<std::string> WaitForWaiting(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return waiting_.size() == count; });
    return waiting_;
  }

 private:
  snanode::SimulatedNode node_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::set<std::string> waiting_;
  std::set<std::string> open_;
  bool all_ = false;
  int inside_ = 0;
};

struct Progress : RefreshProgress {
  void Begin(std::string_view stage, int total) override { stages.push_back(std::string(stage) + " " + std::to_string(total)); }
  void Step(int done) override { last = done; }
  void NodeSilent() override { ++silences; }
  void End() override { ended = true; }
  std::vector<std::string> stages;
  int last = 0;
  int silences = 0;
  bool ended = false;
};

// A refresh run with a queue for the GUI thread that the test drains, on a
// clock the test moves, in a fresh folder for the trace.
class Run : public InTraceFolder {
 protected:
  void Start(GatedNode& node, StatusCheckLimits limits) {
    worker_ = std::make_unique<NodeWorker>(node.Calls(), queue_);
    run_ = std::make_unique<RefreshRun>(doc_.doc, *worker_, *queue_, limits, &progress_,
                                        [this](const RefreshResult& r) { result_ = r; });
    run_->Start();
  }
  // Runs what the GUI thread has to do until the run ended.
  void DrainToEnd() { queue_->RunUntil([this] { return result_.has_value(); }); }
  // Runs what the answers so far posted, once each verb let through has
  // handed its answer over.
  void DrainUntil(const std::function<bool()>& done) { queue_->RunUntil(done); }
  void MoveClock(int milliseconds) { now_ += std::chrono::milliseconds(milliseconds); }
  std::map<std::string, ResourceStatus> Statuses() const {
    std::map<std::string, ResourceStatus> statuses;
    for (const auto& n : doc_.doc.Nodes()) statuses[n->label] = n->status;
    return statuses;
  }

  TaskQueue::Clock::time_point now_ = TaskQueue::Clock::now();
  std::shared_ptr<TaskQueue> queue_ = std::make_shared<TaskQueue>([this] { return now_; });
  testing::DocumentWithView doc_;
  Progress progress_;
  std::unique_ptr<NodeWorker> worker_;
  std::unique_ptr<RefreshRun> run_;
  std::optional<RefreshResult> result_;
};

// Twelve network nodes; every third does not answer APING.
std::string TwelveNodes() {
  std::string text;
  for (int i = 0; i < 12; ++i) text += "nn NETA.NN" + std::to_string(i) + "\n";
  for (int i = 0; i < 12; i += 3) text += "aping NETA.NN" + std::to_string(i) + " fail 0x0300 0x05000000\n";
  return text;
}

// However many checks run at once and in whatever order their answers
// come, the picture and the trace are those of one check after another.
TEST_F(Run, ChecksAtOnceInAnyOrderLeaveThePictureAndTraceOfOneAtATime) {
  std::string expectedTrace;
  std::map<std::string, ResourceStatus> expectedStatuses;
  const struct {
    int atOnce;
    unsigned seed;  // 0: answers in the order asked
  } cases[] = {{1, 0}, {8, 0}, {8, 1}, {8, 2}, {3, 7}, {64, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE("at once " + std::to_string(c.atOnce) + ", seed " + std::to_string(c.seed));
    std::filesystem::remove("mapvine.trc");
    testing::DocumentWithView fresh;
    std::swap(doc_.doc.settings, fresh.doc.settings);
    doc_.doc.Clear();
    doc_.doc.NewDocument();
    doc_.doc.settings.activeQuery = 1;
    result_.reset();
    SetTraceEnabled(true);
    GatedNode node(TwelveNodes());
    node.Open("query");
    ::testing::internal::CaptureStdout();
    Start(node, {.atOnce = c.atOnce, .deadlineMilliseconds = 30000});
    std::mt19937 random(c.seed);
    for (std::size_t opened = 0; opened < 12; ++opened) {
      const std::size_t inFlight = std::min<std::size_t>(c.atOnce, 12 - opened);
      DrainUntil([&] { return node.Waiting().size() == inFlight; });
      const std::set<std::string> waiting = node.Waiting();
      // In the order asked, or a random one of those in flight.
      auto pick = std::min_element(waiting.begin(), waiting.end(), [](const auto& a, const auto& b) {
        return std::stoi(a.substr(7)) < std::stoi(b.substr(7));
      });
      if (c.seed != 0) pick = std::next(waiting.begin(), random() % waiting.size());
      node.Open(*pick);
      node.WaitForWaiting(inFlight - 1);
    }
    DrainToEnd();
    ::testing::internal::GetCapturedStdout();
    SetTraceEnabled(false);
    ASSERT_FALSE(result_->stopped);
    if (expectedTrace.empty()) {
      expectedTrace = TraceText();
      expectedStatuses = Statuses();
      EXPECT_NE(expectedTrace.find("Working... Checked status of 10 nodes\n"), std::string::npos);
      EXPECT_EQ(std::count_if(expectedStatuses.begin(), expectedStatuses.end(),
                              [](const auto& s) { return s.second == ResourceStatus::Inactive; }),
                4);
    } else {
      EXPECT_EQ(TraceText(), expectedTrace);
      EXPECT_EQ(Statuses(), expectedStatuses);
    }
    run_.reset();
    worker_.reset();
  }
}

TEST_F(Run, ALateAnswerCountsAsUnreachableAndIsDropped) {
  doc_.doc.settings.activeQuery = 1;
  GatedNode node("nn NETA.NN0\nnn NETA.NN1\n");
  node.Open("query");
  node.Open("NETA.NN1");
  ::testing::internal::CaptureStdout();
  Start(node, {.atOnce = 8, .deadlineMilliseconds = 5000});
  DrainUntil([&] { return node.Waiting().count("NETA.NN0") == 1; });
  MoveClock(5000);
  DrainToEnd();
  const std::map<std::string, ResourceStatus> expected{{"NN0", ResourceStatus::Inactive},
                                                       {"NN1", ResourceStatus::Active}};
  EXPECT_EQ(Statuses(), expected);
  node.Open("NETA.NN0");  // answers now, too late
  node.WaitForWaiting(0);
  while (worker_->Outstanding() > 0) queue_->RunReady();
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(Statuses(), expected);
}

// Each check has its own deadline, counted from when it was asked: a check
// asked later is given up later.
TEST_F(Run, EachCheckIsGivenUpItsDeadlineAfterItWasAsked) {
  doc_.doc.settings.activeQuery = 1;
  GatedNode node("nn NETA.NN0\nnn NETA.NN1\nnn NETA.NN2\n");
  node.Open("query");
  ::testing::internal::CaptureStdout();
  Start(node, {.atOnce = 2, .deadlineMilliseconds = 5000});
  DrainUntil([&] { return node.Waiting().size() == 2; });
  std::set<std::string> third{"NETA.NN0", "NETA.NN1", "NETA.NN2"};
  for (const std::string& asked : node.Waiting()) third.erase(asked);
  const std::string answered = *node.Waiting().begin();
  const std::string last = *third.begin();
  MoveClock(1000);
  node.Open(answered);
  DrainUntil([&] { return node.Waiting().count(last) == 1; });
  MoveClock(4000);
  queue_->RunReady();
  EXPECT_EQ(progress_.last, 2);  // the first asked given up, the answer taken in
  MoveClock(999);
  queue_->RunReady();
  EXPECT_FALSE(result_.has_value());
  MoveClock(1);
  DrainToEnd();
  node.OpenAll();
  node.WaitForWaiting(0);
  while (worker_->Outstanding() > 0) queue_->RunReady();
  ::testing::internal::GetCapturedStdout();
  std::map<std::string, ResourceStatus> expected{{"NN0", ResourceStatus::Inactive},
                                                 {"NN1", ResourceStatus::Inactive},
                                                 {"NN2", ResourceStatus::Inactive}};
  expected[answered.substr(5)] = ResourceStatus::Active;
  EXPECT_EQ(Statuses(), expected);
}

// Stop ends the run at once, also while the node has not answered; the
// verb stays outstanding until the node answers, and its answer is dropped.
TEST_F(Run, StopWhileTheNodeIsSilentEndsAtOnce) {
  doc_.doc.settings.autoRefresh = 1;
  doc_.doc.settings.refreshSeconds = 30;
  GatedNode node("nn NETA.NN0\n");
  Start(node, {});
  node.WaitForWaiting(1);
  MoveClock(RefreshRun::kSilenceMilliseconds);
  queue_->RunReady();
  EXPECT_EQ(progress_.silences, 1);
  run_->KeepWaiting();
  MoveClock(RefreshRun::kSilenceMilliseconds - 1);
  queue_->RunReady();
  EXPECT_EQ(progress_.silences, 1);
  run_->Stop();
  ASSERT_TRUE(result_ && result_->stopped);
  EXPECT_TRUE(progress_.ended);
  EXPECT_EQ(doc_.view.refreshesFinished, 1);
  EXPECT_EQ(worker_->Outstanding(), 1);
  node.OpenAll();
  while (worker_->Outstanding() > 0) queue_->RunReady();
  EXPECT_TRUE(doc_.doc.Nodes().empty());
}

TEST_F(Run, AStoppedStatusPassLeavesTheRestAsTheyWere) {
  doc_.doc.settings.activeQuery = 1;
  GatedNode node(TwelveNodes());
  node.Open("query");
  ::testing::internal::CaptureStdout();
  Start(node, {.atOnce = 1, .deadlineMilliseconds = 30000});
  int unreachable = 0;
  for (int checked = 0; checked < 5; ++checked) {
    DrainUntil([&] { return node.Waiting().size() == 1; });
    const std::string name = *node.Waiting().begin();
    unreachable += std::stoi(name.substr(7)) % 3 == 0;
    node.Open(name);
    node.WaitForWaiting(0);
  }
  DrainUntil([&] { return node.Waiting().size() == 1; });
  run_->Stop();
  ::testing::internal::GetCapturedStdout();
  ASSERT_TRUE(result_.has_value());
  // The count shows once the node announced its lists.
  EXPECT_EQ(progress_.stages,
            (std::vector<std::string>{"Asking the node for its topology\u2026 0",
                                      "Asking the node for its topology\u2026 12", "Refresh 12", "Status 12"}));
  int inactive = 0;
  for (const auto& [name, status] : Statuses()) inactive += status == ResourceStatus::Inactive;
  EXPECT_EQ(inactive, unreachable);
  EXPECT_TRUE(progress_.ended);
}

}  // namespace
}  // namespace mapvine
