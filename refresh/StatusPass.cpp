#include "refresh/StatusPass.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "base/Trace.h"

namespace mapvine {
namespace {

constexpr int kProgressEvery = 10;
// Answers taken in per slice: each may redraw a node, and the window must
// get its turn between slices.
constexpr std::size_t kTakenInPerSlice = 64;
// While answers are held back, they look again this often.
constexpr int kHeldBackRetryMilliseconds = 50;

void ShowProgress(CMapvineDoc& doc, std::string_view text) {
  doc.ShowStatusText(text);
  Trace(text);
}

}  // namespace

StatusPass::StatusPass(CMapvineDoc& doc, NodeWorker& worker, GuiThread& gui, StatusCheckLimits limits,
                       RefreshProgress* progress, std::function<void()> finished)
    : doc_(doc),
      worker_(worker),
      gui_(gui),
      limits_(limits),
      progress_(progress),
      finished_(std::move(finished)) {
  limits_.atOnce = std::clamp(limits_.atOnce, 1, StatusCheckLimits::kMaxAtOnce);
  // Hidden nodes are passed over: not queried, not counted.
  for (const auto& node : doc_.Nodes()) {
    if (!node->hidden) checks_.push_back(Check{node->label, node->fqName, std::nullopt, false});
  }
}

void StatusPass::Start() {
  ShowProgress(doc_, "Working... Checked status of nodes");
  if (progress_) progress_->Begin("Status", static_cast<int>(checks_.size()));
  AskMore();
  if (checks_.empty()) Finish();
}

void StatusPass::AskMore() {
  while (!over_ && inFlight_ < limits_.atOnce && nextToAsk_ < checks_.size()) {
    const std::size_t index = nextToAsk_++;
    ++inFlight_;
    const bool started = worker_.Ask<ApingAnswer>(
        [partner = checks_[index].fqName](const SnaCtlFunction& snaCtl) { return QueryAping(snaCtl, partner); },
        lifeline_.Guard([this, index](ApingAnswer answer) { Answered(index, std::move(answer), false); }));
    if (!started) {
      Answered(index, ApingAnswer{}, true);
      continue;
    }
    checks_[index].due = gui_.Now() + std::chrono::milliseconds(limits_.deadlineMilliseconds);
    WatchDeadlines();
  }
}

void StatusPass::WatchDeadlines() {
  while (oldestWaiting_ < nextToAsk_ && checks_[oldestWaiting_].answer) ++oldestWaiting_;
  if (over_ || deadlineWatched_ || oldestWaiting_ == nextToAsk_) return;
  deadlineWatched_ = true;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(checks_[oldestWaiting_].due - gui_.Now());
  gui_.PostAfter(static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count())),
                 lifeline_.Guard([this] { DeadlinesPassed(); }));
}

void StatusPass::DeadlinesPassed() {
  // A timer may fire a little early; what is not due yet is watched anew.
  const auto now = gui_.Now();
  for (std::size_t index = oldestWaiting_; index < nextToAsk_ && checks_[index].due <= now; ++index) {
    Answered(index, ApingAnswer{}, true);
  }
  deadlineWatched_ = false;
  WatchDeadlines();
}

void StatusPass::Answered(std::size_t index, ApingAnswer answer, bool late) {
  Check& check = checks_[index];
  if (over_ || check.answer) return;  // the deadline passed, or the answer came first
  check.answer = std::move(answer);
  check.late = late;
  --inFlight_;
  AskMore();
  if (index == nextToTakeIn_) ScheduleTakingIn();
}

void StatusPass::ScheduleTakingIn(int milliseconds) {
  if (std::exchange(takingInPosted_, true)) return;
  gui_.PostIn(milliseconds, lifeline_.Guard([this] {
    takingInPosted_ = false;
    TakeInReady();
  }));
}

void StatusPass::TakeInReady() {
  if (over_) return;
  if (holdBack_ && holdBack_()) return ScheduleTakingIn(kHeldBackRetryMilliseconds);
  std::size_t taken = 0;
  for (; nextToTakeIn_ < checks_.size() && checks_[nextToTakeIn_].answer && taken < kTakenInPerSlice;
       ++nextToTakeIn_, ++taken) {
    TakeIn(checks_[nextToTakeIn_]);
  }
  // Answers that changed nothing (the usual pass) leave the picture alone.
  if (std::exchange(batchOpen_, false)) doc_.BatchEnds();
  if (progress_) progress_->Step(checked_);
  if (nextToTakeIn_ == checks_.size()) return Finish();
  if (checks_[nextToTakeIn_].answer) ScheduleTakingIn();
}

void StatusPass::TakeIn(const Check& check) {
  CNode* node = doc_.FindNode(check.name);
  // Hidden meanwhile, by the person or by an earlier answer: passed over.
  if (node == nullptr || node->hidden) return;
  if (displayed_ % kProgressEvery == 0) {
    char text[64];
    std::snprintf(text, sizeof text, "Working... Checked status of %i nodes", displayed_);
    ShowProgress(doc_, text);
  }
  int reachable = 0;
  if (check.late) {
    TraceF("APING %s failed: no answer within %i ms\n", check.fqName.c_str(), limits_.deadlineMilliseconds);
  } else {
    reachable = ReportAping(*check.answer, check.fqName);
  }
  const ResourceStatus status = StatusFor(reachable == 1);
  const bool changesLook = node->status != status || node->imageIndex == 0 ||
                           (!doc_.settings.showUnreachable && !IsActive(status));
  // The batch holds the redraws of this slice's changes back until its end.
  if (changesLook && !std::exchange(batchOpen_, true)) doc_.BatchStarts();
  doc_.TakeCheckedStatus(*node, status);
  if (!node->hidden) ++displayed_;
  ++checked_;
}

void StatusPass::Stop() {
  if (over_) return;
  TraceF("Status pass stopped after %i nodes", checked_);
  Finish();
}

void StatusPass::Finish() {
  if (std::exchange(over_, true)) return;
  TraceF("Currently %i displayed nodes", displayed_);
  if (finished_) finished_();
}

}  // namespace mapvine
