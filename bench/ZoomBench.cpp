// The view on the 100,000-resource network (snanode-gen --resources 100000
// --seed 1: about 71,000 nodes and 74,000 links), shown in a real widget on
// the offscreen platform:
//   BM_FitFrame         one frame of the whole picture fitted to the window
//   BM_FitFrameWithChanges  the same with the marks the refresh left: after
//                       a first refresh every node and link is new
//   BM_FitFrameWithRoute    the same with a route from the first node of
//                       the picture to the last, the rest dimmed
//   BM_ScrollStep       one scroll step at 100%: the strip it uncovers
//   BM_SelectStep       Tab at 100%: the selection frame moves to the next
//                       node, which the window scrolls into sight
//   BM_FirstFrame       the drawing part of opening: the new background
//                       handed to the view and the first frame painted
// Targets: a Fit to Window frame within 100 ms, with the marks or a route
// as well, and a scroll step within a tenth of that.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include <iterator>
#include <memory>
#include <vector>

#include "QtBenchmarkMain.h"
#include "refresh/RefreshCommand.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"
#include "view/MapvineView.h"

namespace {

using mapvine::CMapvineDoc;
using mapvine::CMapvineView;

constexpr std::size_t kResources = 100000;

struct HugePicture {
  HugePicture() {
    view.resize(1200, 900);
    doc.NewDocument();
    const snanode::SimulatedNode node(snanode::GenerateNetwork(kResources, 1));
    mapvine::RefreshCommand(doc, [&node](void* block, std::uint32_t length) {
      node.Call(block, length);
    });
    for (const auto& node : doc.Nodes()) nodeMarks.push_back(node->changeMark);
    for (const auto& link : doc.Links()) linkMarks.push_back(link->changeMark);
    view.show();
    // The first frame takes several turns; it is no part of what is measured.
    do {
      QCoreApplication::processEvents();
    } while (!view.Frame().ShowsWhole());
  }
  // Shows the marks of what the refresh changed, or none as after an
  // acknowledgement.
  void ShowChanges(bool shown) {
    std::size_t i = 0;
    for (const auto& node : doc.Nodes()) {
      node->changeMark = shown ? nodeMarks[i++] : mapvine::ChangeMark::None;
    }
    i = 0;
    for (const auto& link : doc.Links()) {
      link->changeMark = shown ? linkMarks[i++] : mapvine::ChangeMark::None;
    }
  }
  CMapvineDoc doc;
  CMapvineView view{doc};
  std::vector<mapvine::ChangeMark> nodeMarks;
  std::vector<mapvine::ChangeMark> linkMarks;
};

HugePicture* hugePicture = nullptr;

void Describe(benchmark::State& state, const HugePicture& picture) {
  state.counters["nodes"] = static_cast<double>(picture.doc.Nodes().size());
  state.counters["links"] = static_cast<double>(picture.doc.Links().size());
  state.counters["zoom_pct"] = picture.view.Zooming().Zoom() * 100;
}

void DrawFitFrames(benchmark::State& state, HugePicture& picture) {
  picture.view.Zooming().FitToWindow();
  // The first frame after a change of the picture also finds its nodes and
  // links anew; that is not what is measured.
  picture.view.viewport()->repaint();
  for (auto _ : state) {
    // The whole window drawn anew, as after a zoom.
    picture.view.OverlayChanged();
    picture.view.viewport()->repaint();
  }
  Describe(state, picture);
}

void BM_FitFrame(benchmark::State& state) {
  hugePicture->ShowChanges(false);
  DrawFitFrames(state, *hugePicture);
}

void BM_FitFrameWithChanges(benchmark::State& state) {
  hugePicture->ShowChanges(true);
  DrawFitFrames(state, *hugePicture);
  hugePicture->ShowChanges(false);
}

void BM_FitFrameWithRoute(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  picture.ShowChanges(false);
  picture.view.Route().SetStart(**picture.doc.Nodes().begin());
  picture.view.Route().SetEnd(**std::prev(picture.doc.Nodes().end()));
  DrawFitFrames(state, picture);
  state.counters["hops"] = picture.view.Route().Found().Hops();
  picture.view.Route().Clear();
}

void BM_ScrollStep(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  picture.view.Zooming().SetZoom(1.0);
  QScrollBar& bar = *picture.view.verticalScrollBar();
  bar.setValue(bar.maximum() / 2);
  picture.view.viewport()->repaint();
  int direction = 1;
  for (auto _ : state) {
    // Back and forth, a line at a time, so the picture under it varies.
    if (bar.value() + bar.singleStep() > bar.maximum()) direction = -1;
    if (bar.value() - bar.singleStep() < 0) direction = 1;
    bar.setValue(bar.value() + direction * bar.singleStep());
    // Only the strip the step uncovers is painted.
    QCoreApplication::processEvents();
  }
  state.counters["step_px"] = bar.singleStep();
  Describe(state, picture);
}

void BM_SelectStep(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  picture.view.Zooming().SetZoom(1.0);
  picture.view.viewport()->repaint();
  for (auto _ : state) {
    // The frame moves to the next node, which the window keeps in sight.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(&picture.view, &tab);
    QCoreApplication::processEvents();
  }
  Describe(state, picture);
}

void BM_FirstFrame(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  for (auto _ : state) {
    picture.view.Document().SetBackground(*picture.doc.composedBackground);
    picture.view.viewport()->repaint();
  }
  Describe(state, picture);
}

BENCHMARK(BM_FitFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FitFrameWithChanges)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FitFrameWithRoute)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_SelectStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return mapvine::RunWidgetBenchmarks(argc, argv, hugePicture); }
