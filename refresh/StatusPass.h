#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/MapvineDoc.h"
#include "protocol/Aping.h"
#include "refresh/GuiThread.h"
#include "refresh/Lifeline.h"
#include "refresh/NodeWorker.h"
#include "refresh/RefreshProgress.h"

namespace mapvine {

// How the status pass asks: up to `atOnce` APINGs in flight, each given up
// after `deadlineMilliseconds` (the node then counts as unreachable and its
// late answer is dropped).
struct StatusCheckLimits {
  static constexpr int kDefaultAtOnce = 8;
  static constexpr int kMaxAtOnce = 64;
  static constexpr int kDefaultDeadlineSeconds = 30;
  static constexpr int kMaxDeadlineSeconds = 3600;
  int atOnce = kDefaultAtOnce;
  int deadlineMilliseconds = kDefaultDeadlineSeconds * 1000;
};

// Pings every displayed node and marks the unreachable ones: an unreachable
// node shows its inactive image, or is hidden when the settings do not show
// such nodes. The pings run off the GUI thread, several at once; their
// answers are taken in strictly in node order, in small slices, so the
// picture, the progress texts and the trace come out as if the nodes had
// been checked one after the other, however the answers arrive.
class StatusPass {
 public:
  StatusPass(CMapvineDoc& doc, NodeWorker& worker, GuiThread& gui, StatusCheckLimits limits,
             RefreshProgress* progress, std::function<void()> finished);
  StatusPass(const StatusPass&) = delete;
  StatusPass& operator=(const StatusPass&) = delete;

  void Start();
  // Ends the pass now: the nodes not yet taken in keep their status, and
  // answers still on their way are dropped.
  void Stop();
  // While this holds, answers wait to be taken in (see RefreshRun).
  void SetHoldBack(std::function<bool()> holdBack) { holdBack_ = std::move(holdBack); }

 private:
  struct Check {
    std::string name;    // the node's name, to find it again when its answer comes
    std::string fqName;  // the partner asked for
    std::optional<ApingAnswer> answer;
    bool late = false;   // no answer came within the deadline
    GuiThread::Clock::time_point due{};  // once asked: when it is given up
  };

  void AskMore();
  // One watch serves every deadline: the checks are asked in order, so the
  // oldest check still waiting is always the next to be given up (a timer
  // per check costs the window dearly with tens of thousands of them).
  void WatchDeadlines();
  void DeadlinesPassed();
  void Answered(std::size_t index, ApingAnswer answer, bool late);
  void ScheduleTakingIn(int milliseconds = 0);
  void TakeInReady();
  void TakeIn(const Check& check);
  void Finish();

  CMapvineDoc& doc_;
  NodeWorker& worker_;
  GuiThread& gui_;
  StatusCheckLimits limits_;
  RefreshProgress* progress_;
  std::function<void()> finished_;
  std::function<bool()> holdBack_;
  std::vector<Check> checks_;
  std::size_t nextToAsk_ = 0;
  std::size_t nextToTakeIn_ = 0;
  std::size_t oldestWaiting_ = 0;  // no check before it is still waiting for its answer
  int inFlight_ = 0;
  int displayed_ = 0;
  int checked_ = 0;
  bool takingInPosted_ = false;
  bool deadlineWatched_ = false;
  bool batchOpen_ = false;  // a change in this slice opened a batch
  bool over_ = false;
  Lifeline lifeline_;  // last: posted tasks see the pass gone before its members go
};

}  // namespace mapvine
