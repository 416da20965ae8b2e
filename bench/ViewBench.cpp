// The topology view on a picture of about 5,000 nodes (a synthetic network
// refreshed from the simulated node), shown in a real widget on the
// offscreen platform:
//   BM_FullRender  the whole picture drawn at once, as printing and
//                  --render draw it
//   BM_Redraw      the standard redraw: the window's part of the picture
//                  drawn and converted
//   BM_DragStep    one step of dragging a node: SetPosition, which exposes
//                  the areas it changed, and the paint of them
//   BM_RefreshShownPicture  the first refresh of a new picture in a view:
//                  the pass, the canvas composed at its grown size and
//                  brought to the view's palette, and the full redraw
// A drag step has to stay far below a full render.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <memory>

#include "QtBenchmarkMain.h"
#include "refresh/RefreshCommand.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"
#include "view/MapvineView.h"

namespace {

using mapvine::CMapvineDoc;
using mapvine::CMapvineView;

// About 71% of the generated resources are nodes.
constexpr std::size_t kResources = 7000;

struct LargePicture {
  LargePicture() {
    doc.NewDocument();
    const snanode::SimulatedNode node(snanode::GenerateNetwork(kResources, 1));
    mapvine::RefreshCommand(doc, [&node](void* block, std::uint32_t length) {
      node.Call(block, length);
    });
    view.show();
    DeliverPaints();
  }
  static void DeliverPaints() { QCoreApplication::processEvents(); }

  CMapvineDoc doc;
  CMapvineView view{doc};
};

// Made in main, after the application object and destroyed before it.
LargePicture* largePicture = nullptr;

LargePicture& Picture() { return *largePicture; }

void Describe(benchmark::State& state, const LargePicture& picture) {
  state.counters["nodes"] = static_cast<double>(picture.doc.Nodes().size());
  state.counters["links"] = static_cast<double>(picture.doc.Links().size());
  state.counters["picture_px"] = static_cast<double>(picture.view.BufferRect().Width()) *
                                 picture.view.BufferRect().Height();
}

void BM_FullRender(benchmark::State& state) {
  LargePicture& picture = Picture();
  for (auto _ : state) {
    picture.view.PictureChanged();
    benchmark::DoNotOptimize(picture.view.Frame().PalettedPicture());
  }
  Describe(state, picture);
}

void BM_Redraw(benchmark::State& state) {
  LargePicture& picture = Picture();
  for (auto _ : state) {
    picture.view.PictureChanged();
    picture.view.viewport()->repaint();
  }
  Describe(state, picture);
}

// Area of the picture a move of `node` marks dirty besides its own band:
// the bounds of its links.
long LinkedArea(const mapvine::CNode& node) {
  long area = 0;
  for (const mapvine::CLink* link : node.links) {
    area += static_cast<long>(link->bounds.Width()) * link->bounds.Height();
  }
  return area;
}

// Argument 0: the node in the picture's top-left corner, where the window
// opens. Argument 1: the node whose links span the least area, the cheapest
// drag the picture offers.
mapvine::CNode& NodeToDrag(const LargePicture& picture, bool cheapest) {
  mapvine::CNode* chosen = nullptr;
  for (const auto& node : picture.doc.Nodes()) {
    if (node->hidden) continue;
    const bool better = chosen == nullptr ||
                        (cheapest ? LinkedArea(*node) < LinkedArea(*chosen)
                                  : node->GetX() + node->GetY() < chosen->GetX() + chosen->GetY());
    if (better) chosen = node.get();
  }
  return *chosen;
}

void BM_DragStep(benchmark::State& state) {
  LargePicture& picture = Picture();
  mapvine::CNode& node = NodeToDrag(picture, state.range(0) != 0);
  // Moved back and forth by one pixel, the way a slow drag moves it.
  const int x = node.GetX();
  const int y = node.GetY();
  int step = 0;
  for (auto _ : state) {
    ++step;
    node.SetPosition(x + (step & 1), y + (step & 1));
    LargePicture::DeliverPaints();
  }
  node.SetPosition(x, y);
  state.counters["node_links"] = static_cast<double>(node.links.size());
  state.counters["link_area_px"] = static_cast<double>(LinkedArea(node));
  Describe(state, picture);
}

void BM_RefreshShownPicture(benchmark::State& state) {
  const snanode::SimulatedNode node(snanode::GenerateNetwork(kResources, 1));
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<CMapvineDoc>();
    auto view = std::make_unique<CMapvineView>(*doc);
    doc->NewDocument();
    state.ResumeTiming();
    mapvine::RefreshCommand(*doc, [&node](void* block, std::uint32_t length) {
      node.Call(block, length);
    });
    state.PauseTiming();
    view.reset();  // the view leaves the document first
    doc.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Redraw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DragStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RefreshShownPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return mapvine::RunWidgetBenchmarks(argc, argv, largePicture); }
