#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "model/ChangeComparison.h"
#include "model/MapvineDoc.h"
#include "protocol/NodeAnswers.h"
#include "refresh/GuiThread.h"
#include "refresh/Lifeline.h"
#include "refresh/NodeWorker.h"
#include "refresh/RefreshPass.h"
#include "refresh/RefreshProgress.h"
#include "refresh/StatusPass.h"

namespace mapvine {

// The primary return code a refresh reports when it could not even issue
// its first verb (the system had no thread to spare).
inline constexpr std::uint16_t kPrimaryNotAsked = 0xFFFF;

// How a refresh ended.
struct RefreshResult {
  RefreshOutcome outcome;
  bool stopped = false;  // stopped before the node's answers were all taken in
};

// One run of the Refresh command, from the GUI thread's side: the node is
// asked on a worker thread while the window goes on; its answers are taken
// into the document in slices short enough for painting and input to go on
// between them; with activeQuery set, the status pass follows (left out
// when the topology query failed: a node that cannot list its topology
// cannot ping either, and every node would be marked unreachable). At the
// end the changes go to the document's lastChanges, the picture is redrawn
// and the auto-refresh timer re-armed, so that the next tick comes one full
// period after this refresh ended.
//
// The document must outlive the run. Everything posted for later is
// guarded, so a run may be destroyed once it finished or was stopped.
class RefreshRun {
 public:
  RefreshRun(CMapvineDoc& doc, NodeWorker& worker, GuiThread& gui, StatusCheckLimits limits,
             RefreshProgress* progress, std::function<void(const RefreshResult&)> finished);
  RefreshRun(const RefreshRun&) = delete;
  RefreshRun& operator=(const RefreshRun&) = delete;

  // Asks the node; `finished` may run before this returns, when the node
  // could not be asked at all.
  void Start();
  // Ends the run at once, whatever it is waiting for: records not yet taken
  // in are left out (nothing counts as gone), nodes not yet checked keep
  // their status, and a verb still outstanding is left to finish alone.
  void Stop();
  // After the node stayed silent: wait another while before saying so again.
  void KeepWaiting();
  // While this holds (the person is in the middle of an edit, such as a
  // drag), answers wait: an edit records what changed while it was made,
  // and a refresh is no part of it.
  void SetHoldBack(std::function<bool()> holdBack) { holdBack_ = std::move(holdBack); }

  // How long the node may stay silent before the person is asked whether to
  // keep waiting.
  static constexpr int kSilenceMilliseconds = 30000;

 private:
  enum class Stage { Asking, TakingIn, Checking, Over };

  void WatchSilence();
  // The node sent more of its lists.
  void Heard(AskingProgress progress);
  void Answered(NodeAnswers answers);
  void TakeInSlice();
  void PostTakeInSlice(int milliseconds);
  void PassDone();
  void Finish(bool stopped);

  CMapvineDoc& doc_;
  NodeWorker& worker_;
  GuiThread& gui_;
  StatusCheckLimits limits_;
  RefreshProgress* progress_;
  std::function<void(const RefreshResult&)> finished_;
  std::function<bool()> holdBack_;
  Stage stage_ = Stage::Asking;
  int silenceWatch_ = 0;  // which watch counts; an earlier one is stale
  std::size_t announced_ = 0;  // entries the node's lists announced so far
  std::optional<NodeAnswers> answers_;  // until the pass takes them
  std::optional<PictureSnapshot> before_;
  std::unique_ptr<RefreshPassSlices> pass_;
  std::unique_ptr<StatusPass> status_;
  RefreshOutcome outcome_;
  Lifeline lifeline_;
};

}  // namespace mapvine
