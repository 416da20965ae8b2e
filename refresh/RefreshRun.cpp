#include "refresh/RefreshRun.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "base/Trace.h"
#include "protocol/RecordFields.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

// A slice of the refresh pass stops taking records in after this long, and
// looks at the clock every so many records.
constexpr auto kSliceBudget = std::chrono::milliseconds(8);
constexpr std::size_t kRecordsBetweenClockLooks = 64;
// While answers are held back, they look again this often.
constexpr int kHeldBackRetryMilliseconds = 50;
constexpr const char* kAskingText = "Asking the node for its topology\u2026";
// Past one node or link in this many, the window reads the whole picture
// again rather than each changed one.
constexpr std::size_t kWholePictureShare = 8;

// Tells the window what the refresh changed beyond what it reported on the
// way: marks, staleness and links' statuses changed silently. A link is told
// through its ends, which take their links along.
void ReportChangedLooks(CMapvineDoc& doc, const ChangedLooks& looks) {
  DocumentView* view = doc.View();
  if (view == nullptr || (looks.nodes.empty() && looks.links.empty())) return;
  const std::size_t changed = looks.nodes.size() + looks.links.size();
  if (changed * kWholePictureShare > doc.Nodes().size() + doc.Links().size()) {
    return doc.PictureChanged();
  }
  // A node is told once, however many of its links changed: each telling
  // walks all of its lines.
  std::vector<CNode*> told(looks.nodes.begin(), looks.nodes.end());
  for (const CLink* link : looks.links) {
    for (CNode* end : {link->endA, link->endB}) {
      if (end != nullptr) told.push_back(end);
    }
  }
  std::sort(told.begin(), told.end());
  told.erase(std::unique(told.begin(), told.end()), told.end());
  const DocumentBatch batch(doc);
  for (CNode* node : told) view->NodeChanged(*node);
}

}  // namespace

RefreshRun::RefreshRun(CMapvineDoc& doc, NodeWorker& worker, GuiThread& gui, StatusCheckLimits limits,
                       RefreshProgress* progress, std::function<void(const RefreshResult&)> finished)
    : doc_(doc),
      worker_(worker),
      gui_(gui),
      limits_(limits),
      progress_(progress),
      finished_(std::move(finished)) {}

void RefreshRun::Start() {
  if (progress_) progress_->Begin(kAskingText, 0);
  auto heard = lifeline_.Guard([this](AskingProgress progress) { Heard(progress); });
  const bool started = worker_.AskTelling<NodeAnswers>(
      [heard](const SnaCtlFunction& snaCtl, const NodeWorker::TellGui& tell) mutable {
        AskingCount count([&tell, &heard](AskingProgress progress) {
          tell([heard, progress]() mutable { heard(progress); });
        });
        return AskNode(snaCtl, &count);
      },
      lifeline_.Guard([this](NodeAnswers answers) { Answered(std::move(answers)); }));
  if (started) return WatchSilence();
  // Out of threads: the node was never asked, which is no empty network.
  outcome_.topology = VerbStatus{snawire::kOpNodeTopologyQuery, kPrimaryNotAsked, 0};
  Finish(false);
}

void RefreshRun::WatchSilence() {
  const int watch = ++silenceWatch_;
  gui_.PostAfter(kSilenceMilliseconds, lifeline_.Guard([this, watch] {
    if (stage_ == Stage::Asking && watch == silenceWatch_ && progress_) progress_->NodeSilent();
  }));
}

void RefreshRun::KeepWaiting() {
  if (stage_ == Stage::Asking) WatchSilence();
}

void RefreshRun::Heard(AskingProgress progress) {
  if (stage_ != Stage::Asking) return;
  // A node still sending its lists is slow, not silent: the silence counts
  // from its last word.
  WatchSilence();
  if (!progress_) return;
  if (progress.announced != announced_) {
    announced_ = progress.announced;
    progress_->Begin(kAskingText, static_cast<int>(announced_));
  }
  progress_->Step(static_cast<int>(progress.received));
}

void RefreshRun::Answered(NodeAnswers answers) {
  if (stage_ != Stage::Asking) return;
  stage_ = Stage::TakingIn;
  ++silenceWatch_;
  outcome_ = answers.outcome;
  // The local node names the network the picture shows.
  if (answers.tables.localControlPoint) {
    doc_.localControlPoint = DecodeDirectoryRecord(*answers.tables.localControlPoint).name;
  }
  answers_ = std::move(answers);
  TakeInSlice();
}

void RefreshRun::PostTakeInSlice(int milliseconds) {
  gui_.PostIn(milliseconds, lifeline_.Guard([this] {
    if (stage_ == Stage::TakingIn) TakeInSlice();
  }));
}

void RefreshRun::TakeInSlice() {
  if (holdBack_ && holdBack_()) return PostTakeInSlice(kHeldBackRetryMilliseconds);
  if (!pass_) {
    before_.emplace(doc_);
    doc_.BatchStarts();
    pass_ = std::make_unique<RefreshPassSlices>(doc_, std::move(*answers_), progress_);
    answers_.reset();
  }
  const auto start = std::chrono::steady_clock::now();
  while (!pass_->Continue(kRecordsBetweenClockLooks)) {
    if (std::chrono::steady_clock::now() - start >= kSliceBudget) return PostTakeInSlice(0);
  }
  // What follows the records goes over the whole picture: the pass's end
  // and what the document does with it, each a turn of its own.
  gui_.Post(lifeline_.Guard([this] {
    if (stage_ != Stage::TakingIn) return;
    pass_->Finish();
    gui_.Post(lifeline_.Guard([this] {
      if (stage_ == Stage::TakingIn) PassDone();
    }));
  }));
}

void RefreshRun::PassDone() {
  pass_.reset();
  doc_.TakeLinksOfUnreachableNodesDown();
  doc_.BatchEnds();
  Trace("Nodes refresh complete, Getting Status...\n");
  if (!doc_.settings.activeQuery || !outcome_.topology.Succeeded()) return Finish(false);
  stage_ = Stage::Checking;
  status_ = std::make_unique<StatusPass>(doc_, worker_, gui_, limits_, progress_, [this] { Finish(false); });
  status_->SetHoldBack(holdBack_);
  status_->Start();
}

void RefreshRun::Stop() {
  switch (stage_) {
    case Stage::Asking:
      Trace("Refresh stopped while the node was asked\n");
      Finish(true);
      break;
    case Stage::TakingIn:
      Trace("Refresh stopped while its answers were taken in\n");
      if (pass_) {
        pass_->Finish();
        pass_.reset();
        doc_.BatchEnds();
      }
      Finish(true);
      break;
    case Stage::Checking:
      status_->Stop();  // which finishes the run
      break;
    case Stage::Over:
      break;
  }
}

void RefreshRun::Finish(bool stopped) {
  if (stage_ == Stage::Over) return;
  stage_ = Stage::Over;
  // Only a refresh that heard everything may call a resource gone.
  // A run stopped before any answer was taken in changed nothing.
  ChangedLooks looks;
  doc_.lastChanges = before_ ? before_->Compare(doc_, outcome_.Succeeded() && !stopped, &looks) : ChangeList{};
  ReportChangedLooks(doc_, looks);
  if (DocumentListener* listener = doc_.Listener()) listener->RefreshFinished();
  if (progress_) progress_->End();
  // The caller may end the run from here.
  const RefreshResult result{outcome_, stopped};
  if (finished_) finished_(result);
}

}  // namespace mapvine
