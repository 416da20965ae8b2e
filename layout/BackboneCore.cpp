#include "layout/BackboneCore.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

namespace mapvine {

namespace {

// Siblings fan out over at most this much of a circle, centred on the way
// away from where their parent hangs, so they do not fold back over it.
constexpr double kWidestFan = 1.5 * std::numbers::pi;

}  // namespace

BackboneCore::BackboneCore(int count, std::span<const std::pair<int, int>> edges)
    : count_(count),
      neighbours_(static_cast<std::size_t>(count)),
      inCore_(static_cast<std::size_t>(count), true),
      junction_(static_cast<std::size_t>(count), false) {
  for (const auto& [a, b] : edges) {
    if (a == b) continue;
    neighbours_[a].push_back(b);
    neighbours_[b].push_back(a);
  }
  StripTrees();
  while (!WalkChains()) {
  }
}

void BackboneCore::StripTrees() {
  std::vector<int> degree(neighbours_.size());
  std::vector<int> queue;
  for (int v = 0; v < count_; ++v) {
    degree[v] = static_cast<int>(neighbours_[v].size());
    if (degree[v] <= 1) queue.push_back(v);
  }
  // First in, first out: the outermost leaves go first.
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const int v = queue[next];
    const auto parent = std::find_if(neighbours_[v].begin(), neighbours_[v].end(), [this](int w) { return inCore_[w]; });
    // The last node of a tree stays, as its root.
    if (parent == neighbours_[v].end()) continue;
    inCore_[v] = false;
    hanging_.push_back({v, *parent});
    if (--degree[*parent] == 1) queue.push_back(*parent);
  }
}

bool BackboneCore::WalkChains() {
  const auto coreDegree = [this](int v) {
    return std::count_if(neighbours_[v].begin(), neighbours_[v].end(), [this](int w) { return inCore_[w]; });
  };
  for (int v = 0; v < count_; ++v) {
    if (inCore_[v] && coreDegree(v) != 2) junction_[v] = true;
  }
  std::set<std::pair<int, int>> pairs;
  for (int v = 0; v < count_; ++v) {
    if (!junction_[v]) continue;
    for (const int w : neighbours_[v]) {
      if (junction_[w]) pairs.insert(std::minmax(v, w));
    }
  }
  chains_.clear();
  std::vector<bool> walked(neighbours_.size(), false);
  bool whole = true;
  for (int v = 0; v < count_; ++v) {
    if (!junction_[v]) continue;
    for (const int first : neighbours_[v]) {
      if (!inCore_[first] || junction_[first] || walked[first]) continue;
      std::vector<int> path;
      int previous = v, at = first;
      while (!junction_[at]) {
        path.push_back(at);
        walked[at] = true;
        const auto& around = neighbours_[at];
        const int from = previous;
        const auto next = std::find_if(around.begin(), around.end(),
                                       [this, from](int w) { return inCore_[w] && w != from; });
        previous = at;
        at = *next;
      }
      // A chain back to its start, or a second one between the same two
      // junctions, would be drawn along the other: its middle node becomes
      // a junction of its own.
      if (at == v || !pairs.insert(std::minmax(v, at)).second) {
        junction_[path[path.size() / 2]] = true;
        whole = false;
        continue;
      }
      for (std::size_t i = 0; i < path.size(); ++i) {
        chains_.push_back({path[i], v, at, static_cast<double>(i + 1) / static_cast<double>(path.size() + 1)});
      }
    }
  }
  // A loop without junctions: one of its nodes becomes one.
  for (int v = 0; v < count_; ++v) {
    if (!inCore_[v] || junction_[v] || walked[v]) continue;
    junction_[v] = true;
    whole = false;
    for (std::vector<int> around{v}; !around.empty();) {
      const int at = around.back();
      around.pop_back();
      for (const int w : neighbours_[at]) {
        if (inCore_[w] && !junction_[w] && !walked[w]) {
          walked[w] = true;
          around.push_back(w);
        }
      }
    }
  }
  if (!whole) return false;
  std::vector<int> local(neighbours_.size(), -1);
  kept_.clear();
  for (int v = 0; v < count_; ++v) {
    if (!junction_[v]) continue;
    local[v] = static_cast<int>(kept_.size());
    kept_.push_back(v);
  }
  coreEdges_.clear();
  for (const auto& [a, b] : pairs) coreEdges_.emplace_back(local[a], local[b]);
  return true;
}

std::vector<LayoutPoint> BackboneCore::Expand(const std::vector<LayoutPoint>& keptAt) const {
  std::vector<LayoutPoint> at(neighbours_.size());
  for (std::size_t i = 0; i < kept_.size() && i < keptAt.size(); ++i) at[kept_[i]] = keptAt[i];
  double unit = 0;
  for (const auto& [a, b] : coreEdges_) unit += std::hypot(keptAt[a].x - keptAt[b].x, keptAt[a].y - keptAt[b].y);
  unit = coreEdges_.empty() || unit <= 0 ? 1 : unit / static_cast<double>(coreEdges_.size());

  for (const OnChain& c : chains_) {
    at[c.node] = {at[c.from].x + (at[c.to].x - at[c.from].x) * c.share,
                  at[c.from].y + (at[c.to].y - at[c.from].y) * c.share};
  }
  // Parents before their children: the reverse of the stripping order.
  std::vector<int> parentOf(neighbours_.size(), -1);
  std::vector<int> children(neighbours_.size(), 0);
  std::vector<int> placedChildren(neighbours_.size(), 0);
  for (const Hanging& h : hanging_) {
    parentOf[h.node] = h.parent;
    ++children[h.parent];
  }
  std::vector<double> away(neighbours_.size(), 0);  // the angle children fan out around
  std::vector<bool> hasAway(neighbours_.size(), false);
  for (auto h = hanging_.rbegin(); h != hanging_.rend(); ++h) {
    const int p = h->parent;
    if (!hasAway[p]) {
      double dx = 0, dy = 0;
      if (parentOf[p] >= 0) {
        dx = at[p].x - at[parentOf[p]].x;
        dy = at[p].y - at[parentOf[p]].y;
      } else {
        // Away from the middle of the core neighbours it joins.
        for (const int w : neighbours_[p]) {
          if (!inCore_[w]) continue;
          dx += at[p].x - at[w].x;
          dy += at[p].y - at[w].y;
        }
      }
      away[p] = dx == 0 && dy == 0 ? 0 : std::atan2(dy, dx);
      hasAway[p] = true;
    }
    const int k = children[p];
    const int i = placedChildren[p]++;
    const double fan = k == 1 ? 0 : std::min(kWidestFan, 2 * std::numbers::pi * (k - 1) / k);
    const double angle = away[p] - fan / 2 + (k == 1 ? 0 : fan * i / (k - 1));
    at[h->node] = {at[p].x + unit * std::cos(angle), at[p].y + unit * std::sin(angle)};
  }
  return at;
}

}  // namespace mapvine
