#include "app/ArrangeCommand.h"

#include <atomic>
#include <string>
#include <thread>

#include "view/CommandIds.h"

namespace mapvine {

namespace {

// How often the GUI thread looks at the worker: often enough for a smooth
// bar, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 50;

}  // namespace

struct ArrangeCommand::Job {
  CapturedPicture captured;
  ArrangeProgress progress;
  std::optional<Arrangement> result;
  std::atomic<bool> done{false};
  std::thread worker;

  explicit Job(CapturedPicture picture) : captured(std::move(picture)) {
    worker = std::thread([this] {
      result = ComputeArrangement(captured.graph, progress);
      done.store(true, std::memory_order_release);
    });
  }
  ~Job() {
    progress.stopRequested.store(true);
    if (worker.joinable()) worker.join();
  }
  bool Done() const { return done.load(std::memory_order_acquire); }
};

ArrangeCommand::ArrangeCommand(CMapvineDoc& doc, EditHistory& edits, StatusProgress& progress)
    : doc_(doc), edits_(edits), progress_(progress) {
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &ArrangeCommand::Poll);
}

ArrangeCommand::~ArrangeCommand() = default;

bool ArrangeCommand::OnCommand(int id) {
  switch (id) {
    case command::kArrangeByConnections:
      // Not while a refresh (which shows the same progress) changes the
      // picture.
      if (!Running() && !progress_.Running()) Start();
      return true;
    case command::kPlaceNewNearNeighbours:
      doc_.placeNewNearNeighbours = !doc_.placeNewNearNeighbours;
      doc_.SetModified(true);
      return true;
    default:
      return false;
  }
}

std::optional<CommandState> ArrangeCommand::CommandStateOf(int id) const {
  switch (id) {
    case command::kArrangeByConnections:
      return CommandState{.enabled = !Running() && !progress_.Running() && doc_.Nodes().size() > 0,
                          .checked = false};
    case command::kPlaceNewNearNeighbours:
      return CommandState{.enabled = doc_.arranged, .checked = doc_.arranged && doc_.placeNewNearNeighbours};
    default:
      return std::nullopt;
  }
}

void ArrangeCommand::Start() {
  job_ = std::make_unique<Job>(CapturePicture(doc_));
  stopAsked_ = false;
  progress_.Begin("Arrange", 100);
  poll_.start();
}

void ArrangeCommand::Poll() {
  ReapAbandoned();
  if (!job_) {
    if (abandoned_.empty()) poll_.stop();
    return;
  }
  if (stopAsked_) {
    job_->progress.stopRequested.store(true);
    abandoned_.push_back(std::move(job_));
    progress_.End();
    doc_.ShowStatusText("Arrange stopped; the picture is unchanged");
    if (finished) finished();
    return;
  }
  if (!job_->Done()) {
    progress_.Step(job_->progress.percent.load(std::memory_order_relaxed));
    return;
  }
  Finish();
}

void ArrangeCommand::Finish() {
  const std::unique_ptr<Job> job = std::move(job_);
  job->worker.join();
  progress_.End();
  if (!job->result) {
    doc_.ShowStatusText("The picture could not be arranged");
  } else {
    edits_.Begin(true);
    ApplyArrangement(doc_, job->captured, *job->result);
    edits_.End(QString::fromUtf8(kEditName));
    doc_.ShowStatusText("Arranged " + std::to_string(job->captured.nodes.size()) + " nodes by their connections");
  }
  if (abandoned_.empty()) poll_.stop();
  if (finished) finished();
}

void ArrangeCommand::ReapAbandoned() {
  std::erase_if(abandoned_, [](const std::unique_ptr<Job>& job) { return job->Done(); });
}

}  // namespace mapvine
