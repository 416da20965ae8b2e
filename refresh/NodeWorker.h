#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "protocol/VerbBlock.h"
#include "refresh/GuiThread.h"

namespace mapvine {

// Runs the node's verbs off the GUI thread, each call on a thread of its own,
// and hands every answer back on the GUI thread. A node may take seconds to
// answer or never answer at all, so nobody waits for these threads: each is
// detached and owns what it touches (the node's entry point, the call and
// the GUI side it posts to), and an answer that comes after its asker is
// gone is dropped.
class NodeWorker {
 public:
  NodeWorker(SnaCtlFunction snaCtl, std::shared_ptr<GuiThread> gui);
  ~NodeWorker();
  NodeWorker(const NodeWorker&) = delete;
  NodeWorker& operator=(const NodeWorker&) = delete;

  // Calls `ask` with the node on a new thread; `answer` gets what it
  // returned, on the GUI thread. False when no thread could be started.
  template <class Result>
  bool Ask(std::function<Result(const SnaCtlFunction&)> ask, std::function<void(Result)> answer) {
    return AskTelling<Result>([ask = std::move(ask)](const SnaCtlFunction& snaCtl, const TellGui&) { return ask(snaCtl); },
                              std::move(answer));
  }

  // Hands a task to the GUI thread from inside a call (what a long call has
  // got so far); dropped once the worker is gone.
  using TellGui = std::function<void(std::function<void()>)>;
  // Ask, for a call that tells the GUI thread how it is getting on.
  template <class Result>
  bool AskTelling(std::function<Result(const SnaCtlFunction&, const TellGui&)> ask,
                  std::function<void(Result)> answer) {
    auto result = std::make_shared<Result>();
    return Start([ask = std::move(ask), result](const SnaCtlFunction& snaCtl,
                                                const TellGui& tell) { *result = ask(snaCtl, tell); },
                 [answer = std::move(answer), result] { answer(std::move(*result)); });
  }

  // Calls started whose answer has not come back to the GUI thread yet,
  // also those whose asker stopped waiting.
  int Outstanding() const { return gui_->outstanding; }
  // Runs on the GUI thread whenever the last outstanding call came back.
  void SetQuietHandler(std::function<void()> quiet) { gui_->quiet = std::move(quiet); }

 private:
  // What only the GUI thread reads and changes; kept by every call in flight.
  struct GuiSide {
    int outstanding = 0;
    bool alive = true;
    std::function<void()> quiet;
  };

  bool Start(std::function<void(const SnaCtlFunction&, const TellGui&)> call, std::function<void()> deliver);

  const std::shared_ptr<const SnaCtlFunction> snaCtl_;
  const std::shared_ptr<GuiThread> poster_;
  const std::shared_ptr<GuiSide> gui_;
};

}  // namespace mapvine
