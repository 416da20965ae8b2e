// What each action a person takes costs the GUI thread on the picture of
// `snanode-gen --resources 100000 --seed 1` (about 71,000 nodes and 74,000
// links) after its first refresh, in the main window at 1280 x 1024 on the
// offscreen platform. Each iteration is one action through the window's own
// entry points, up to and including the frame it shows:
//   BM_Find               Find (dialog, OK): located, scrolled to, first
//                         phase of the blink; nodes spread over the picture
//   BM_FindTyping         the first three letters typed into the Find box,
//                         a keystroke at a time (slowest_ms: one keystroke)
//   BM_DragStep           one mouse move of a dragged node
//   BM_Drop               the release, with the undo record of the move
//   BM_UndoMove, BM_RedoMove   undoing and redoing that move
//   BM_ZoomKey            one Zoom In or Zoom Out step, walking the whole range
//   BM_WheelZoom          one Ctrl+wheel notch, walking the whole range
//   BM_Tab                Tab at 100%: the next node selected and shown
//   BM_Route              the end of a route chosen, the route drawn
//   BM_ShowNeighbourhood  two hops around a node, with its undo record
//   BM_UndoNeighbourhood, BM_RedoNeighbourhood   undoing and redoing that
//   BM_ShowAll            Show All after it, with its undo record
// Target: each within 50 ms. Counters: slowest_ms, the longest single
// action by the wall clock, slowest_cpu_ms by the GUI thread's CPU time;
// the CPU column is the GUI thread's own time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "QtBenchmarkMain.h"
#include "QuietStandardOutput.h"
#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"
#include "dialogs/ModalDialog.h"

namespace mapvine {
namespace {

struct RefreshedWindow {
  RefreshedWindow()
      : node(snanode::GenerateNetwork(100000, 1)),
        app(SnaLibrary{[this](void* block, std::uint32_t length) { node.Call(block, length); }, {}}) {
    app.InitInstance(CommandLine{});
    app.MainFrame().resize(1280, 1024);
    app.MainFrame().show();
    const QuietStandardOutput quiet;
    app.MainFrame().Route(command::kRefresh);
    while (app.Commands().Refreshing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The first frame takes several turns; it is no part of what is measured.
    do {
      QCoreApplication::processEvents();
    } while (!View().Frame().ShowsWhole());
    // Nodes across the whole picture, in the order they arrived.
    const auto arrivals = app.Document().NodesByArrival();
    for (std::size_t i = 0; i < arrivals.size(); i += arrivals.size() / 64) spread.push_back(arrivals[i]);
  }
  CMainFrame& Frame() { return app.MainFrame(); }
  CMapvineView& View() { return app.MainFrame().View(); }

  snanode::SimulatedNode node;
  CMapvineApp app;
  std::vector<CNode*> spread;
};

RefreshedWindow* shared = nullptr;

// Lets the window show what the action changed.
void ShowFrame() { QCoreApplication::processEvents(); }

// The GUI thread's own CPU time so far: on a busy machine, the wall clock
// also counts the time other programs took.
qint64 ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Times `action` and the frame after it, keeping the slowest by the wall
// clock and by the thread's CPU time.
class ActionClock {
 public:
  explicit ActionClock(benchmark::State& state) : state_(state) {}
  ~ActionClock() {
    state_.counters["slowest_ms"] = static_cast<double>(slowest_) / 1e6;
    state_.counters["slowest_cpu_ms"] = static_cast<double>(slowestCpu_) / 1e6;
  }
  void Time(const std::function<void()>& action) {
    QElapsedTimer clock;
    clock.start();
    const qint64 cpuBefore = ThreadCpuNanoseconds();
    action();
    ShowFrame();
    slowest_ = std::max(slowest_, clock.nsecsElapsed());
    slowestCpu_ = std::max(slowestCpu_, ThreadCpuNanoseconds() - cpuBefore);
  }

 private:
  benchmark::State& state_;
  qint64 slowest_ = 0;
  qint64 slowestCpu_ = 0;
};

// Runs the next modal dialog with `driver` instead of a person.
class DialogAnswer {
 public:
  explicit DialogAnswer(DialogDriver driver) : before_(InstallDialogDriver(std::move(driver))) {}
  ~DialogAnswer() { InstallDialogDriver(before_); }

 private:
  DialogDriver before_;
};

void BM_Find(benchmark::State& state) {
  RefreshedWindow& w = *shared;
  w.View().Zooming().SetZoom(1.0);
  std::size_t next = 0;
  std::string name;
  const DialogAnswer answer([&name](QDialog& dialog) {
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("box1056"));
    box->setText(QString::fromStdString(name));
    emit box->returnPressed();
    return dialog.result();
  });
  ActionClock clock(state);
  for (auto _ : state) {
    name = w.spread[next++ % w.spread.size()]->label;
    clock.Time([&] { w.Frame().Route(command::kFindResource); });
  }
}

// The first letters of a name typed into the Find box, each keystroke with
// the list it offers; the dialog's opening is BM_Find's.
void BM_FindTyping(benchmark::State& state) {
  RefreshedWindow& w = *shared;
  std::size_t next = 0;
  ActionClock clock(state);
  const DialogAnswer answer([&](QDialog& dialog) {
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("box1056"));
    const QString name = QString::fromStdString(w.spread[next++ % w.spread.size()]->label);
    for (const QChar letter : name.left(3)) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
      clock.Time([&] { QCoreApplication::sendEvent(box, &key); });
    }
    return int(QDialog::Rejected);
  });
  for (auto _ : state) w.Frame().Route(command::kFindResource);
}

QPoint ViewportPointOf(CMapvineView& view, const CNode& node) {
  const Point centre = node.GetCenter();
  return QPoint(static_cast<int>((centre.x) * view.Zooming().Zoom()) - view.horizontalScrollBar()->value(),
                static_cast<int>((centre.y) * view.Zooming().Zoom()) - view.verticalScrollBar()->value());
}

// The left button pressed on a node in sight, moved and let go, the
// cursor following the events.
struct MouseHand {
  explicit MouseHand(CMapvineView& view) : view(view) {
    view.Drag().cursorPosition = [this] { return this->view.viewport()->mapToGlobal(at); };
  }
  void Send(QEvent::Type type, QPoint to, Qt::MouseButtons buttons) {
    at = to;
    QMouseEvent event(type, QPointF(at), QPointF(view.viewport()->mapToGlobal(at)), Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &event);
  }
  void Press(QPoint to) { Send(QEvent::MouseButtonPress, to, Qt::LeftButton); }
  void Move(QPoint to) { Send(QEvent::MouseMove, to, Qt::LeftButton); }
  void Release() { Send(QEvent::MouseButtonRelease, at, Qt::NoButton); }
  CMapvineView& view;
  QPoint at;
};

// A node in the middle of the picture, shown at 100% in the window's middle.
CNode& NodeInSight(RefreshedWindow& w) {
  CNode& node = *w.spread[w.spread.size() / 2];
  w.View().Zooming().SetZoom(1.0);
  w.View().Finder().LocateNode(node.label);
  ShowFrame();
  return node;
}

void BM_DragStep(benchmark::State& state) {
  RefreshedWindow& w = *shared;
  CNode& node = NodeInSight(w);
  MouseHand hand(w.View());
  hand.Press(ViewportPointOf(w.View(), node));
  // The press must have caught the node, or nothing is measured.
  state.counters["dragging"] = w.View().Drag().Active();
  ActionClock clock(state);
  int step = 0;
  for (auto _ : state) {
    // Back and forth over a few pixels, within the window.
    const int dx = (step++ % 20 < 10) ? 2 : -2;
    clock.Time([&] { hand.Move(hand.at + QPoint(dx, 1 - (step % 3))); });
  }
  hand.Release();
  ShowFrame();
  w.Frame().Route(command::kEditUndo);
}

void BM_Drop(benchmark::State& state) {
  RefreshedWindow& w = *shared;
  CNode& node = NodeInSight(w);
  MouseHand hand(w.View());
  ActionClock clock(state);
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    hand.Press(ViewportPointOf(w.View(), node));
    hand.Move(hand.at + QPoint(step % 2 == 0 ? 30 : -30, 0));
    ++step;
    ShowFrame();
    state.ResumeTiming();
    clock.Time([&] { hand.Release(); });
  }
}

// Undoes (or redoes) a move, the other direction untimed.
void UndoMoves(benchmark::State& state, int timed, int untimed) {
  RefreshedWindow& w = *shared;
  CNode& node = NodeInSight(w);
  MouseHand hand(w.View());
  hand.Press(ViewportPointOf(w.View(), node));
  hand.Move(hand.at + QPoint(40, 20));
  hand.Release();
  ShowFrame();
  if (timed == command::kEditRedo) w.Frame().Route(command::kEditUndo);
  ActionClock clock(state);
  for (auto _ : state) {
    clock.Time([&] { w.Frame().Route(timed); });
    state.PauseTiming();
    w.Frame().Route(untimed);
    ShowFrame();
    state.ResumeTiming();
  }
}

void BM_UndoMove(benchmark::State& state) { UndoMoves(state, command::kEditUndo, command::kEditRedo); }
void BM_RedoMove(benchmark::State& state) { UndoMoves(state, command::kEditRedo, command::kEditUndo); }

// Zooms one step at a time from the whole picture in to the largest zoom
// and back out, over and over; `step` zooms in (true) or out.
void WalkTheZoomRange(benchmark::State& state, const std::function<void(bool in)>& step) {
  CMapvineView& view = shared->View();
  view.Zooming().FitToWindow();
  ShowFrame();
  bool in = true;
  ActionClock clock(state);
  for (auto _ : state) {
    if (view.Zooming().Zoom() >= ViewZoom::kMaxZoom) in = false;
    if (view.Zooming().Zoom() <= view.Zooming().MinimumZoom()) in = true;
    clock.Time([&] { step(in); });
  }
  state.counters["zoom_pct"] = view.Zooming().Zoom() * 100;
}

void BM_ZoomKey(benchmark::State& state) {
  WalkTheZoomRange(state, [](bool in) { shared->Frame().Route(in ? command::kZoomIn : command::kZoomOut); });
}

void BM_WheelZoom(benchmark::State& state) {
  WalkTheZoomRange(state, [](bool in) {
    CMapvineView& view = shared->View();
    const QPointF at(view.viewport()->width() / 3.0, view.viewport()->height() / 3.0);
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, in ? 120 : -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
  });
}

void BM_Tab(benchmark::State& state) {
  CMapvineView& view = shared->View();
  view.Zooming().SetZoom(1.0);
  ShowFrame();
  ActionClock clock(state);
  for (auto _ : state) {
    clock.Time([&] {
      QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      QCoreApplication::sendEvent(&view, &tab);
    });
  }
}

void BM_Route(benchmark::State& state) {
  RefreshedWindow& w = *shared;
  CMapvineView& view = w.View();
  view.Zooming().FitToWindow();
  ShowFrame();
  std::size_t next = 0;
  ActionClock clock(state);
  for (auto _ : state) {
    state.PauseTiming();
    view.Route().Clear();
    view.Route().SetStart(*w.spread[next++ % w.spread.size()]);
    ShowFrame();
    state.ResumeTiming();
    CNode& end = *w.spread[(next * 7 + 31) % w.spread.size()];
    clock.Time([&] { view.Route().SetEnd(end); });
  }
  view.Route().Clear();
}

// Two hops around nodes across the picture, one after the other: times
// Show Neighbourhood itself, or its undo or redo, or Show All after it
// (`timed`). Every node is shown again between rounds.
void NeighbourhoodRounds(benchmark::State& state, int timed) {
  RefreshedWindow& w = *shared;
  CMapvineView& view = w.View();
  view.Zooming().FitToWindow();
  const DialogAnswer answer([](QDialog& dialog) {
    static_cast<QInputDialog&>(dialog).setIntValue(2);
    return int(QDialog::Accepted);
  });
  std::size_t next = 0;
  ActionClock clock(state);
  for (auto _ : state) {
    state.PauseTiming();
    view.Selection().Select(w.spread[next++ % w.spread.size()]);
    if (timed != command::kShowNeighbourhood) w.Frame().Route(command::kShowNeighbourhood);
    if (timed == command::kEditRedo) w.Frame().Route(command::kEditUndo);
    ShowFrame();
    state.ResumeTiming();
    clock.Time([&] { w.Frame().Route(timed); });
    state.PauseTiming();
    if (timed == command::kShowNeighbourhood || timed == command::kEditRedo) w.Frame().Route(command::kEditUndo);
    ShowFrame();
    state.ResumeTiming();
  }
  view.Selection().Select(nullptr);
}

void BM_ShowNeighbourhood(benchmark::State& state) { NeighbourhoodRounds(state, command::kShowNeighbourhood); }
void BM_UndoNeighbourhood(benchmark::State& state) { NeighbourhoodRounds(state, command::kEditUndo); }
void BM_RedoNeighbourhood(benchmark::State& state) { NeighbourhoodRounds(state, command::kEditRedo); }
void BM_ShowAll(benchmark::State& state) { NeighbourhoodRounds(state, command::kShowAllNodes); }

BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_FindTyping)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_Drop)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_UndoMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_RedoMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_ZoomKey)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_WheelZoom)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_Tab)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_Route)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_ShowNeighbourhood)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_UndoNeighbourhood)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_RedoNeighbourhood)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ShowAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
}  // namespace mapvine

int main(int argc, char** argv) {
  // Find remembers its searches in the settings: not in the person's own.
  const QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  return mapvine::RunWidgetBenchmarks(argc, argv, mapvine::shared);
}
