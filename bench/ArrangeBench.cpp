// Arranging by connections, on the picture of `snanode-gen --resources
// 100000 --seed 1` after a first refresh, and on the sample network:
//   BM_ArrangeLarge       the whole layout (worker side), with the picture's
//                         measures as counters, beside the grid's
//   BM_GridMeasures       the same measures of the grid placement a refresh
//                         makes (nothing timed but the measuring)
//   BM_BackboneSfdp       the backbone alone by Graphviz's sfdp
//   BM_BackboneBoostFR    the backbone alone by the Boost Graph Library's
//                         Fruchterman-Reingold layout, for comparison, with
//                         as many cooling steps as its argument
//   BM_ArrangeSample      the sample network, capture to applied positions
//   BM_ApplyArrangementLarge  the GUI thread's part: sizing the canvas and
//                         moving the nodes of the large picture
//   BM_ShowNeighbourhoodLarge  two hops around a node of the large picture;
//                         argument 1 adds the undo record
// Counters: tgLength (mean on-picture length of TGs, LU links excluded),
// crossings (pairs of TGs that cross), overlaps (pairs of icons with labels
// that overlap), near (share of LUs and end nodes within 180 pixels of their
// owner); for the backbone runs, spread (how much edge lengths vary, lower
// is more even) and long (the share of edges over three times the median).
#include <benchmark/benchmark.h>

#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/fruchterman_reingold.hpp>
#include <boost/graph/random_layout.hpp>
#include <boost/graph/topology.hpp>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/CLink.h"
#include "model/NodeRecords.h"
#include "layout/ArrangePicture.h"
#include "layout/BackboneLayout.h"
#include "layout/Owners.h"
#include "model/EditRecording.h"
#include "model/MapvineDoc.h"
#include "model/Neighbourhood.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/NetworkParser.h"
#include "snanode/SampleNetwork.h"
#include "snanode/SimulatedNode.h"

namespace {

using mapvine::ArrangeGraph;
using mapvine::Point;

std::unique_ptr<mapvine::CMapvineDoc> Refreshed(snanode::Network network) {
  snanode::SimulatedNode node(std::move(network));
  auto doc = std::make_unique<mapvine::CMapvineDoc>();
  doc->NewDocument();
  mapvine::dorefresh(*doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
  return doc;
}

mapvine::CMapvineDoc& LargePicture() {
  static const auto doc = Refreshed(snanode::GenerateNetwork(100000, 1));
  return *doc;
}

Point Centre(const ArrangeGraph& graph, const std::vector<Point>& at, int i) {
  return {at[i].x + graph.nodes[i].width / 2, at[i].y + graph.nodes[i].height / 2};
}

bool IsTg(const ArrangeGraph& graph, std::pair<int, int> link) {
  return graph.nodes[link.first].kind != mapvine::LogicalUnit &&
         graph.nodes[link.second].kind != mapvine::LogicalUnit;
}

long long Cross(Point o, Point a, Point b) {
  return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

// Proper crossings only: segments that share an end do not cross.
bool SegmentsCross(Point a, Point b, Point c, Point d) {
  if (a == c || a == d || b == c || b == d) return false;
  const long long d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

struct Segment {
  Point a, b;
  int minX, maxX, minY, maxY;
};

void Measure(benchmark::State& state, const ArrangeGraph& graph, const std::vector<Point>& at) {
  std::vector<Segment> tgs;
  double length = 0;
  for (const auto& link : graph.links) {
    if (!IsTg(graph, link) || link.first == link.second) continue;
    const Point a = Centre(graph, at, link.first), b = Centre(graph, at, link.second);
    length += std::hypot(a.x - b.x, a.y - b.y);
    tgs.push_back({a, b, std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)});
  }
  // Parallel TGs are one line on the picture.
  std::sort(tgs.begin(), tgs.end(), [](const Segment& s, const Segment& t) {
    return std::tie(s.a.x, s.a.y, s.b.x, s.b.y) < std::tie(t.a.x, t.a.y, t.b.x, t.b.y);
  });
  tgs.erase(std::unique(tgs.begin(), tgs.end(),
                        [](const Segment& s, const Segment& t) { return s.a == t.a && s.b == t.b; }),
            tgs.end());
  std::sort(tgs.begin(), tgs.end(), [](const Segment& s, const Segment& t) { return s.minX < t.minX; });
  long long crossings = 0;
  for (std::size_t i = 0; i < tgs.size(); ++i) {
    for (std::size_t j = i + 1; j < tgs.size() && tgs[j].minX <= tgs[i].maxX; ++j) {
      if (tgs[j].maxY < tgs[i].minY || tgs[j].minY > tgs[i].maxY) continue;
      crossings += SegmentsCross(tgs[i].a, tgs[i].b, tgs[j].a, tgs[j].b);
    }
  }
  // Icons with their label bands, swept by left edge.
  std::vector<int> order(graph.nodes.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return at[a].x < at[b].x; });
  long long overlaps = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const int a = order[i];
    for (std::size_t j = i + 1; j < order.size() && at[order[j]].x < at[a].x + graph.nodes[a].width; ++j) {
      const int b = order[j];
      const int aBottom = at[a].y + graph.nodes[a].height + 30, bBottom = at[b].y + graph.nodes[b].height + 30;
      overlaps += at[b].y < aBottom && at[a].y < bBottom;
    }
  }
  const std::vector<int> owners = mapvine::FindOwners(graph);
  int owned = 0, near = 0;
  for (std::size_t i = 0; i < owners.size(); ++i) {
    if (owners[i] < 0) continue;
    ++owned;
    const Point a = Centre(graph, at, static_cast<int>(i)), b = Centre(graph, at, owners[i]);
    near += std::hypot(a.x - b.x, a.y - b.y) <= 180.0;
  }
  state.counters["tgLength"] = tgs.empty() ? 0 : length / static_cast<double>(tgs.size());
  state.counters["crossings"] = static_cast<double>(crossings);
  state.counters["overlaps"] = static_cast<double>(overlaps);
  state.counters["near"] = owned == 0 ? 1 : static_cast<double>(near) / owned;
  state.counters["nodes"] = static_cast<double>(graph.nodes.size());
}

void BM_ArrangeLarge(benchmark::State& state) {
  const mapvine::CapturedPicture captured = mapvine::CapturePicture(LargePicture());
  std::optional<mapvine::Arrangement> arrangement;
  for (auto _ : state) {
    mapvine::ArrangeProgress progress;
    arrangement = mapvine::ComputeArrangement(captured.graph, progress);
    if (!arrangement) state.SkipWithError("the layout failed");
  }
  if (arrangement) {
    Measure(state, captured.graph, arrangement->positions);
    state.counters["width"] = arrangement->width;
    state.counters["height"] = arrangement->height;
  }
}
BENCHMARK(BM_ArrangeLarge)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_GridMeasures(benchmark::State& state) {
  const mapvine::CapturedPicture captured = mapvine::CapturePicture(LargePicture());
  std::vector<Point> at;
  for (const auto& node : captured.graph.nodes) at.push_back(node.at);
  for (auto _ : state) Measure(state, captured.graph, at);
  state.counters["width"] = LargePicture().picture.composedWidth;
  state.counters["height"] = LargePicture().picture.composedHeight;
}
BENCHMARK(BM_GridMeasures)->Unit(benchmark::kMillisecond)->Iterations(1);

// The backbone of the large picture: nodes without an owner and the
// distinct edges between them.
struct Backbone {
  int count = 0;
  std::vector<std::pair<int, int>> edges;
};

Backbone LargeBackbone() {
  const ArrangeGraph graph = mapvine::CapturePicture(LargePicture()).graph;
  const std::vector<int> owners = mapvine::FindOwners(graph);
  std::vector<int> local(owners.size(), -1);
  Backbone backbone;
  for (std::size_t i = 0; i < owners.size(); ++i) {
    if (owners[i] < 0) local[i] = backbone.count++;
  }
  for (const auto& [a, b] : graph.links) {
    if (local[a] >= 0 && local[b] >= 0 && a != b) backbone.edges.emplace_back(std::min(local[a], local[b]), std::max(local[a], local[b]));
  }
  std::sort(backbone.edges.begin(), backbone.edges.end());
  backbone.edges.erase(std::unique(backbone.edges.begin(), backbone.edges.end()), backbone.edges.end());
  return backbone;
}

// How even a backbone layout is: the spread of edge lengths (coefficient of
// variation; lower is more even) and the share of edges longer than three
// times the median (lines that run across the picture).
void MeasureBackbone(benchmark::State& state, const Backbone& backbone, const std::vector<mapvine::LayoutPoint>& at) {
  std::vector<double> lengths;
  for (const auto& [a, b] : backbone.edges) lengths.push_back(std::hypot(at[a].x - at[b].x, at[a].y - at[b].y));
  std::vector<double> sorted = lengths;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  double mean = 0, square = 0;
  int longOnes = 0;
  for (const double l : lengths) {
    mean += l / median;
    square += (l / median) * (l / median);
    longOnes += l > 3 * median;
  }
  mean /= static_cast<double>(lengths.size());
  square /= static_cast<double>(lengths.size());
  state.counters["spread"] = std::sqrt(std::max(0.0, square - mean * mean)) / mean;
  state.counters["long"] = static_cast<double>(longOnes) / static_cast<double>(lengths.size());
  state.counters["nodes"] = backbone.count;
  state.counters["edges"] = static_cast<double>(backbone.edges.size());
}

void BM_BackboneSfdp(benchmark::State& state) {
  const Backbone backbone = LargeBackbone();
  std::optional<std::vector<mapvine::LayoutPoint>> at;
  for (auto _ : state) at = mapvine::LayOutBackbone(backbone.count, backbone.edges);
  if (at) MeasureBackbone(state, backbone, *at);
}
BENCHMARK(BM_BackboneSfdp)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_BackboneBoostFR(benchmark::State& state) {
  using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::undirectedS>;
  using Topology = boost::square_topology<std::minstd_rand>;
  const Backbone backbone = LargeBackbone();
  std::vector<mapvine::LayoutPoint> result;
  for (auto _ : state) {
    Graph graph(static_cast<std::size_t>(backbone.count));
    for (const auto& [a, b] : backbone.edges) boost::add_edge(a, b, graph);
    std::minstd_rand random(1);
    Topology space(random, std::sqrt(static_cast<double>(backbone.count)) * 10);
    std::vector<Topology::point_type> at(static_cast<std::size_t>(backbone.count));
    auto positions = boost::make_iterator_property_map(at.begin(), boost::get(boost::vertex_index, graph));
    boost::random_graph_layout(graph, positions, space);
    // Repulsion between nodes of nearby grid cells only, as the library
    // offers for large graphs; the argument is the number of cooling steps
    // (the library's usual schedule has 100).
    boost::fruchterman_reingold_force_directed_layout(
        graph, positions, space,
        boost::force_pairs(boost::make_grid_force_pairs(space, positions, graph))
            .cooling(boost::linear_cooling<double>(static_cast<std::size_t>(state.range(0)))));
    result.clear();
    for (const auto& p : at) result.push_back({p[0], p[1]});
  }
  MeasureBackbone(state, backbone, result);
}
// A full schedule of 100 steps takes minutes on this backbone; 5 steps show
// the cost of one.
BENCHMARK(BM_BackboneBoostFR)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ArrangeSample(benchmark::State& state) {
  snanode::ParseResult parsed = snanode::ParseNetwork(snanode::SampleNetworkText(), "sample");
  const auto doc = Refreshed(std::move(*parsed.network));
  for (auto _ : state) benchmark::DoNotOptimize(mapvine::ArrangeNow(*doc));
  const mapvine::CapturedPicture captured = mapvine::CapturePicture(*doc);
  std::vector<Point> at;
  for (const auto& node : captured.graph.nodes) at.push_back(node.at);
  Measure(state, captured.graph, at);
}
BENCHMARK(BM_ArrangeSample)->Unit(benchmark::kMillisecond);

// What the GUI thread does with an arrangement of the large picture: the
// canvas sized to it and every node moved (the picture is put back on its
// grid between runs, untimed).
void BM_ApplyArrangementLarge(benchmark::State& state) {
  mapvine::CMapvineDoc& doc = LargePicture();
  const mapvine::CapturedPicture captured = mapvine::CapturePicture(doc);
  mapvine::ArrangeProgress progress;
  const std::optional<mapvine::Arrangement> arranged = mapvine::ComputeArrangement(captured.graph, progress);
  mapvine::Arrangement grid{{}, doc.picture.composedWidth, doc.picture.composedHeight};
  for (const auto& node : captured.graph.nodes) grid.positions.push_back(node.at);
  const bool wasArranged = doc.arranged;
  for (auto _ : state) {
    benchmark::DoNotOptimize(mapvine::ApplyArrangement(doc, captured, *arranged));
    state.PauseTiming();
    mapvine::ApplyArrangement(doc, captured, grid);
    state.ResumeTiming();
  }
  doc.arranged = wasArranged;
}
BENCHMARK(BM_ApplyArrangementLarge)->Unit(benchmark::kMillisecond)->Iterations(3);

// Two hops around the first network node of the large picture: the
// command's own work, then with the undo record the window makes of it.
void BM_ShowNeighbourhoodLarge(benchmark::State& state) {
  mapvine::CMapvineDoc& doc = LargePicture();
  mapvine::CNode& centre = **doc.Nodes().begin();
  int shown = 0;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      shown = mapvine::ShowNeighbourhood(doc, centre, 2);
    } else {
      mapvine::EditRecording recording(doc, false);
      shown = mapvine::ShowNeighbourhood(doc, centre, 2);
      benchmark::DoNotOptimize(recording.Finish());
    }
    state.PauseTiming();
    mapvine::ShowAllNodes(doc);
    state.ResumeTiming();
  }
  state.counters["shown"] = shown;
}
BENCHMARK(BM_ShowNeighbourhoodLarge)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
