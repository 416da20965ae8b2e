// The view on the 100,000-resource network (snanode-gen --resources 100000
// --seed 1: about 71,000 nodes and 74,000 links), shown in a real widget on
// the offscreen platform:
//   BM_FitFrame         one frame of the whole picture fitted to the window
//   BM_ScrollStep       one scroll step at 100%: the strip it uncovers
//   BM_FirstFrame       the drawing part of opening: the new background
//                       handed to the view and the first frame painted
// Targets: a Fit to Window frame within 100 ms, a scroll step within a
// tenth of that.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QScrollBar>

#include <memory>

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
    view.show();
    QCoreApplication::processEvents();
  }
  CMapvineDoc doc;
  CMapvineView view{doc};
};

HugePicture* hugePicture = nullptr;

void Describe(benchmark::State& state, const HugePicture& picture) {
  state.counters["nodes"] = static_cast<double>(picture.doc.Nodes().size());
  state.counters["links"] = static_cast<double>(picture.doc.Links().size());
  state.counters["zoom_pct"] = picture.view.Zoom() * 100;
}

void BM_FitFrame(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  picture.view.FitToWindow();
  for (auto _ : state) {
    // The whole window drawn anew, as after a zoom.
    picture.view.Repaint();
    picture.view.viewport()->repaint();
  }
  Describe(state, picture);
}

void BM_ScrollStep(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  picture.view.SetZoom(1.0);
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

void BM_FirstFrame(benchmark::State& state) {
  HugePicture& picture = *hugePicture;
  for (auto _ : state) {
    picture.view.SetBackground(*picture.doc.composedBackground);
    picture.view.viewport()->repaint();
  }
  Describe(state, picture);
}

BENCHMARK(BM_FitFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return mapvine::RunWidgetBenchmarks(argc, argv, hugePicture); }
