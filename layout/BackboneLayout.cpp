#include "layout/BackboneLayout.h"

#include "layout/BackboneCore.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

namespace mapvine {
namespace {

// Graphviz keeps global state: one layout at a time in the whole program.
std::mutex graphvizInUse;

// One context for the program's life: Graphviz 2.42's text layout keeps a
// pointer into the context's font table across contexts, so a second
// context would read what the first one freed. Held under graphvizInUse.
GVC_t* Context() {
  static GVC_t* const context = gvContext();
  return context;
}

struct GraphCloser {
  void operator()(Agraph_t* graph) const { agclose(graph); }
};

void Set(Agraph_t* graph, const char* name, const char* value) {
  agattr(graph, AGRAPH, const_cast<char*>(name), const_cast<char*>(value));
}

// Mean length of the edges, to bring the layout to unit edges whatever
// Graphviz's own scale.
double MeanEdgeLength(const std::vector<LayoutPoint>& at, std::span<const std::pair<int, int>> edges) {
  double sum = 0;
  for (const auto& [a, b] : edges) sum += std::hypot(at[a].x - at[b].x, at[a].y - at[b].y);
  return edges.empty() ? 0 : sum / static_cast<double>(edges.size());
}

// sfdp's own positions for the graph.
std::optional<std::vector<LayoutPoint>> Sfdp(int count, std::span<const std::pair<int, int>> edges) {
  std::vector<LayoutPoint> at(static_cast<std::size_t>(count));
  if (count <= 1) return at;
  const std::lock_guard<std::mutex> only(graphvizInUse);
  // Messages about the graph would go to standard error; failures are
  // reported by the return value instead.
  agseterr(AGMAX);
  GVC_t* const gvc = Context();
  if (gvc == nullptr) return std::nullopt;
  const std::unique_ptr<Agraph_t, GraphCloser> graph(
      agopen(const_cast<char*>("backbone"), Agundirected, nullptr));
  if (!graph) return std::nullopt;
  // Overlaps are removed afterwards on the picture's grid; the fast quadtree
  // keeps a core of a few thousand nodes within half a second; a fixed start
  // seed makes the layout repeatable.
  Set(graph.get(), "overlap", "true");
  Set(graph.get(), "quadtree", "fast");
  Set(graph.get(), "start", "1");
  Set(graph.get(), "splines", "false");
  // Nodes are points without labels: nothing to measure in any font.
  agattr(graph.get(), AGNODE, const_cast<char*>("shape"), const_cast<char*>("point"));
  agattr(graph.get(), AGNODE, const_cast<char*>("label"), const_cast<char*>(""));
  std::vector<Agnode_t*> nodes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::string name = std::to_string(i);
    nodes[static_cast<std::size_t>(i)] = agnode(graph.get(), name.data(), 1);
  }
  for (const auto& [a, b] : edges) agedge(graph.get(), nodes[a], nodes[b], nullptr, 1);
  // sfdp draws from the C library's random generators, which its start seed
  // does not reach on every path: seeded here, every layout starts alike,
  // not only the first of a process.
  srand48(1);
  std::srand(1);
  if (gvLayout(gvc, graph.get(), "sfdp") != 0) return std::nullopt;
  for (int i = 0; i < count; ++i) {
    const pointf coord = ND_coord(nodes[static_cast<std::size_t>(i)]);
    at[static_cast<std::size_t>(i)] = {coord.x, -coord.y};  // Graphviz's y grows upwards
  }
  gvFreeLayout(gvc, graph.get());
  return at;
}

}  // namespace

std::optional<std::vector<LayoutPoint>> LayOutBackbone(int count,
                                                       std::span<const std::pair<int, int>> edges) {
  const BackboneCore core(count, edges);
  const auto coreAt = Sfdp(static_cast<int>(core.Kept().size()), core.Edges());
  if (!coreAt) return std::nullopt;
  std::vector<LayoutPoint> at = core.Expand(*coreAt);
  const double unit = MeanEdgeLength(at, edges);
  if (unit > 0) {
    for (LayoutPoint& p : at) p = {p.x / unit, p.y / unit};
  }
  return at;
}

}  // namespace mapvine
