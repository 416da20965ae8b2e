#include "layout/Arrange.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "graphics/CDIBLayout.h"
#include "model/CNode.h"
#include "layout/BackboneLayout.h"
#include "layout/CellGrid.h"
#include "layout/EvenDensity.h"
#include "layout/Owners.h"

namespace mapvine {
namespace {

// Room around icons within a cell, so that neighbouring labels stay apart.
constexpr int kCellMargin = 10;
// Cells per node of the picture in the disc the backbone spans: a cell of
// its own and as much again, so that owners find room for their LUs and end
// nodes close by while the picture stays compact.
constexpr double kRoomPerNode = 2.0;
// An owned node counts as beside its owner this many cells away.
constexpr int kNearCells = 2;
// Cells between the backbone and the picture's top and left edges.
constexpr int kEdgeCells = 2;

int Percent(std::size_t done, std::size_t total, int from, int to) {
  return from + static_cast<int>((to - from) * static_cast<double>(done) / static_cast<double>(std::max<std::size_t>(total, 1)));
}

class Arranger {
 public:
  Arranger(const ArrangeGraph& graph, ArrangeProgress& progress)
      : graph_(graph),
        progress_(progress),
        side_(CellSide(graph)),
        grid_(static_cast<int>(dib::kMaxSide) / side_ - 1),
        owners_(FindOwners(graph)),
        owned_(OwnedNodes(owners_)),
        cells_(graph.nodes.size()) {}

  std::optional<Arrangement> Run() {
    for (std::size_t i = 0; i < graph_.nodes.size(); ++i) {
      if (owners_[i] < 0) backbone_.push_back(static_cast<int>(i));
    }
    std::optional<std::vector<Point>> wanted = BackboneCells();
    if (!wanted || progress_.Stopped()) return std::nullopt;
    progress_.Reach(60);
    TakePinnedCells();
    // The largest groups first, while there is most room near where they
    // want to be.
    std::vector<std::size_t> order(backbone_.size());
    for (std::size_t b = 0; b < order.size(); ++b) order[b] = b;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
      return GroupSize(backbone_[a]) > GroupSize(backbone_[b]);
    });
    for (std::size_t done = 0; done < order.size(); ++done) {
      const std::size_t b = order[done];
      if (!PlaceGroup(backbone_[b], (*wanted)[b])) {
        Place(backbone_[b], (*wanted)[b]);
        PlaceOwned(backbone_[b]);
      }
      if (done % 1024 == 0) {
        if (progress_.Stopped()) return std::nullopt;
        progress_.Reach(Percent(done, order.size(), 60, 100));
      }
    }
    return Result();
  }

 private:
  // Where each backbone node would like its cell: the force-directed
  // layout evened out into a disc with room for every node of the picture,
  // moved so that pinned backbone nodes sit where they are.
  std::optional<std::vector<Point>> BackboneCells() {
    std::vector<int> local(graph_.nodes.size(), -1);
    for (std::size_t b = 0; b < backbone_.size(); ++b) local[backbone_[b]] = static_cast<int>(b);
    std::vector<std::pair<int, int>> edges;
    for (const auto& [a, b] : graph_.links) {
      if (local[a] < 0 || local[b] < 0 || a == b) continue;
      edges.emplace_back(std::min(local[a], local[b]), std::max(local[a], local[b]));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    const auto layout = LayOutBackbone(static_cast<int>(backbone_.size()), edges);
    if (!layout) return std::nullopt;

    std::vector<double> weights(backbone_.size());
    for (std::size_t b = 0; b < backbone_.size(); ++b) weights[b] = static_cast<double>(GroupSize(backbone_[b]));
    const std::vector<LayoutPoint> even = EvenOut(*layout, weights);
    // The disc gets room for every node of the picture, within the largest
    // picture there is.
    const double radius = std::min(std::sqrt(kRoomPerNode * static_cast<double>(graph_.nodes.size()) / std::numbers::pi),
                                   grid_.Limit() / 2.0 - kEdgeCells);
    double offsetX = 0, offsetY = 0;
    int pinned = 0;
    for (std::size_t b = 0; b < backbone_.size(); ++b) {
      const ArrangeNode& node = graph_.nodes[backbone_[b]];
      if (!node.pinned) continue;
      const Point cell = CellOf(node);
      offsetX += cell.x - even[b].x * radius;
      offsetY += cell.y - even[b].y * radius;
      ++pinned;
    }
    if (pinned > 0) {
      offsetX /= pinned;
      offsetY /= pinned;
    } else {
      offsetX = offsetY = radius + kEdgeCells;
    }
    std::vector<Point> cells;
    cells.reserve(even.size());
    for (const LayoutPoint& p : even) {
      cells.push_back({std::max(0, static_cast<int>(std::lround(p.x * radius + offsetX))),
                       std::max(0, static_cast<int>(std::lround(p.y * radius + offsetY)))});
    }
    return cells;
  }

  Point CellOf(const ArrangeNode& node) const { return CellUnder(node.at, side_, node.width, node.height); }

  // A pinned node's icon and label may straddle cells: each cell they touch
  // is taken.
  void TakePinnedCells() {
    for (std::size_t i = 0; i < graph_.nodes.size(); ++i) {
      const ArrangeNode& node = graph_.nodes[i];
      if (!node.pinned) continue;
      cells_[i] = CellOf(node);
      grid_.TakeTouched({node.at.x, node.at.y, node.at.x + node.width, node.at.y + node.height}, side_);
    }
  }

  // A backbone node with everything placed around it.
  std::size_t GroupSize(int owner) const {
    std::size_t size = 1 + owned_[owner].size();
    for (const int node : owned_[owner]) size += owned_[node].size();
    return size;
  }

  // The backbone node and what it owns as one block of cells, laid out
  // around the node as PlaceOwned would on an empty grid, and put down whole
  // at the place nearest the wanted cell where it fits: then every LU and
  // end node sits beside its owner however crowded the picture. False when
  // the node is pinned (the block cannot move) or no place near enough has
  // room; the members are then placed one by one.
  bool PlaceGroup(int owner, Point wanted) {
    if (graph_.nodes[owner].pinned) return false;
    constexpr int kMiddle = 1 << 12;
    CellGrid local(2 * kMiddle);
    const Point middle{kMiddle, kMiddle};
    local.Take(middle);
    members_.assign(1, {owner, {0, 0}});
    auto add = [&](int node, Point around) {
      if (graph_.nodes[node].pinned) return middle;
      const Point cell = local.TakeNearest(around);
      members_.push_back({node, {cell.x - kMiddle, cell.y - kMiddle}});
      return cell;
    };
    // End nodes in the ring nearest their server, then its own LUs, then
    // each end node's LUs on the far side of their end node, where the
    // server's ring leaves them room.
    std::vector<std::pair<int, Point>> ends;
    for (const int node : owned_[owner]) {
      if (!owned_[node].empty()) ends.emplace_back(node, add(node, middle));
    }
    for (const int node : owned_[owner]) {
      if (owned_[node].empty()) add(node, middle);
    }
    for (const auto& [node, cell] : ends) {
      const Point beyond{2 * cell.x - middle.x, 2 * cell.y - middle.y};
      for (const int lu : owned_[node]) {
        if (graph_.nodes[lu].pinned) continue;
        const Point taken = TakeNearTowards(local, cell, beyond);
        members_.push_back({lu, {taken.x - kMiddle, taken.y - kMiddle}});
      }
    }
    shape_.clear();
    for (const auto& member : members_) shape_.push_back(member.offset);
    const std::optional<Point> anchor = grid_.TakeBlockNearest(wanted, shape_);
    if (!anchor) return false;
    for (const auto& [node, offset] : members_) cells_[node] = {anchor->x + offset.x, anchor->y + offset.y};
    return true;
  }

  // Of the free cells within two cells of `around`, the one nearest
  // `towards`; the nearest free cell to `around` when all are taken.
  static Point TakeNearTowards(CellGrid& grid, Point around, Point towards) {
    std::optional<Point> best;
    long long bestDistance = 0;
    for (const Point offset : grid.Nearby()) {
      if (offset.x * offset.x + offset.y * offset.y > kNearCells * kNearCells) break;
      const Point cell{around.x + offset.x, around.y + offset.y};
      if (grid.Taken(cell)) continue;
      const long long dx = cell.x - towards.x, dy = cell.y - towards.y;
      if (!best || dx * dx + dy * dy < bestDistance) {
        best = cell;
        bestDistance = dx * dx + dy * dy;
      }
    }
    if (!best) return grid.TakeNearest(around);
    grid.Take(*best);
    return *best;
  }

  void Place(int node, Point wanted) {
    if (!graph_.nodes[node].pinned) cells_[node] = grid_.TakeNearest(wanted);
  }

  // LUs of the node first, in the ring nearest it, then each end node
  // followed at once by its own LUs, so that they find room beside it.
  void PlaceOwned(int owner) {
    for (const int node : owned_[owner]) {
      if (owned_[node].empty()) Place(node, cells_[owner]);
    }
    for (const int node : owned_[owner]) {
      if (owned_[node].empty()) continue;
      Place(node, cells_[owner]);
      for (const int lu : owned_[node]) Place(lu, cells_[node]);
    }
  }

  Arrangement Result() const {
    Arrangement result;
    result.positions.reserve(graph_.nodes.size());
    for (std::size_t i = 0; i < graph_.nodes.size(); ++i) {
      const ArrangeNode& node = graph_.nodes[i];
      const Point at = node.pinned ? node.at : CornerInCell(cells_[i], side_, node.width, node.height);
      result.positions.push_back(at);
      result.width = std::max(result.width, at.x + node.width + side_ / 2);
      result.height = std::max(result.height, at.y + node.height + CNode::kLabelBand + side_ / 2);
    }
    return result;
  }

  const ArrangeGraph& graph_;
  ArrangeProgress& progress_;
  int side_;
  CellGrid grid_;
  std::vector<int> owners_;
  std::vector<std::vector<int>> owned_;
  std::vector<int> backbone_;
  std::vector<Point> cells_;
  struct Member {
    int node;
    Point offset;
  };
  std::vector<Member> members_;  // the group PlaceGroup is placing
  std::vector<Point> shape_;
};

}  // namespace

int CellSide(const ArrangeGraph& graph) {
  int side = std::max(graph.spacing, 1);
  for (const ArrangeNode& node : graph.nodes) {
    side = std::max({side, node.width + kCellMargin, node.height + CNode::kLabelBand + kCellMargin});
  }
  return side;
}

std::optional<Arrangement> ComputeArrangement(const ArrangeGraph& graph, ArrangeProgress& progress) {
  return Arranger(graph, progress).Run();
}

}  // namespace mapvine
