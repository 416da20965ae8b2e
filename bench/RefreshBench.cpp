// One refresh pass (dorefresh) against the simulated node serving synthetic
// networks of 1k to 64k resources (nodes, LUs and TGs together). Reported
// per resource, so that linear scaling shows as a flat line:
//   BM_FirstRefresh/N/0   first refresh, picture growth switched off
//   BM_FirstRefresh/N/1   first refresh, the picture grows as nodes arrive
//                         (a document without a window: the grown picture's
//                         pixels are laid out when a view shows it)
//   BM_SecondRefresh/N    a refresh over a network already in the picture
//   BM_RefreshLookups/N/T the name lookups a second refresh makes, in its
//                         order, answered by the document's node and link
//                         indexes (T=0) or by boost::unordered_flat_map
//                         (T=1); each found node or link is read, as the
//                         refresh reads it
//
// BM_RefreshLookups is why model/HashSlots.h exists. On 2026-12-08, on an
// AMD EPYC with 2 cores shared with other work (medians of three
// interleaved runs, real time per pass):
//   1k resources:  0.108 ms HashSlots, 0.077 ms boost (boost 1.4x faster)
//   64k resources: 36.4 ms HashSlots, 50.0 ms boost; again 30.4 ms and
//                  40.3 ms (HashSlots 1.33x to 1.37x faster, CPU time alike)
// A first try that replaced it with boost's (string keys, a second table
// for the pair counts) made a second refresh of 64k resources about twice
// as slow in CPU time.
#include <benchmark/benchmark.h>

#include <boost/unordered/unordered_flat_map.hpp>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "model/LinkIndex.h"
#include "model/MapvineDoc.h"
#include "model/NodeIndex.h"
#include "protocol/NodeAnswers.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/SimulatedNode.h"

namespace {

using mapvine::CMapvineDoc;
using mapvine::IsActive;

struct ServedNetwork {
  explicit ServedNetwork(std::size_t resources)
      : node(snanode::GenerateNetwork(resources, 1)),
        snaCtl([this](void* block, std::uint32_t length) { node.Call(block, length); }) {}
  snanode::SimulatedNode node;
  mapvine::SnaCtlFunction snaCtl;
};

std::unique_ptr<CMapvineDoc> NewPicture(bool growth) {
  auto doc = std::make_unique<CMapvineDoc>();
  doc->NewDocument();
  doc->settings.autoGrow = growth;
  return doc;
}

void PerResource(benchmark::State& state, std::size_t resources) {
  state.counters["per_resource"] = benchmark::Counter(
      static_cast<double>(resources),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FirstRefresh(benchmark::State& state) {
  const auto resources = static_cast<std::size_t>(state.range(0));
  const bool growth = state.range(1) != 0;
  ServedNetwork network(resources);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = NewPicture(growth);
    state.ResumeTiming();
    mapvine::dorefresh(*doc, network.snaCtl);
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  PerResource(state, resources);
}

void BM_SecondRefresh(benchmark::State& state) {
  const auto resources = static_cast<std::size_t>(state.range(0));
  ServedNetwork network(resources);
  auto doc = NewPicture(true);
  mapvine::dorefresh(*doc, network.snaCtl);
  for (auto _ : state) mapvine::dorefresh(*doc, network.snaCtl);
  PerResource(state, resources);
}

struct NodeLookup {
  std::string name;
};
struct LinkLookup {
  std::string owner, destination;
  int tgNumber;
};
using Lookup = std::variant<NodeLookup, LinkLookup>;

template <std::size_t N>
std::string ShortNameAt(const std::array<std::uint8_t, N>& record, std::size_t offset) {
  return mapvine::ShortName(mapvine::DecodeNameAt(record, offset));
}

// The names a refresh pass looks up, in the order it does: each topology
// node and TG, then each directory entry's parent, the entry itself and the
// link between them.
std::vector<Lookup> LookupsOfARefresh(const mapvine::SnaCtlFunction& snaCtl) {
  namespace wire = ::snawire;
  const mapvine::NodeAnswers answers = mapvine::AskNode(snaCtl);
  std::vector<Lookup> lookups;
  for (const auto& record : answers.tables.topology) {
    if (record.holdsNode == 1) lookups.push_back(NodeLookup{ShortNameAt(record.node, wire::kNodeName)});
    if (record.holdsTg == 1) {
      lookups.push_back(LinkLookup{ShortNameAt(record.tg, wire::kTgOwner),
                                   ShortNameAt(record.tg, wire::kTgDestination),
                                   record.tg[wire::kTgNumber]});
    }
  }
  for (const auto& record : answers.tables.lus) {
    const std::string lu = ShortNameAt(record.directory, wire::kDirResourceName);
    const std::string parent = ShortNameAt(record.directory, wire::kDirParentName);
    if (lu == parent) continue;
    lookups.push_back(NodeLookup{parent});
    lookups.push_back(NodeLookup{lu});
    lookups.push_back(LinkLookup{lu, parent, 0});
  }
  return lookups;
}

// The document's indexes.
struct HandWrittenIndexes {
  explicit HandWrittenIndexes(const CMapvineDoc& doc) : nodes(doc.Nodes()) {
    for (const auto& node : doc.Nodes()) nodes.Add(*node);
    for (const auto& link : doc.Links()) links.Add(*link);
  }
  mapvine::CNode* FindNode(std::string_view name) const { return nodes.Find(name); }
  mapvine::CLink* FindLink(std::string_view a, std::string_view b, int tg) const {
    return links.Find(a, b, tg);
  }
  mapvine::NodeIndex nodes;
  mapvine::LinkIndex links;
};

// The same lookups through boost's table, keyed by views of the names the
// nodes and links hold (which stay put while they are indexed), hashed as
// the document's indexes hash them.
struct BoostIndexes {
  struct LinkKey {
    std::string_view a, b;  // in order, so that either direction finds the link
    int tgNumber;
    bool operator==(const LinkKey&) const = default;
  };
  struct LinkKeyHash {
    std::size_t operator()(const LinkKey& key) const {
      const std::size_t h1 = std::hash<std::string_view>{}(key.a);
      const std::size_t h2 = std::hash<std::string_view>{}(key.b);
      return (h1 ^ (h2 + 0x9e3779b97f4a7c15ULL + (h1 << 6) + (h1 >> 2))) + static_cast<std::size_t>(key.tgNumber);
    }
  };
  static LinkKey KeyOf(std::string_view a, std::string_view b, int tg) {
    if (b < a) std::swap(a, b);
    return {a, b, tg};
  }

  explicit BoostIndexes(const CMapvineDoc& doc) {
    nodes.reserve(doc.Nodes().size());
    links.reserve(doc.Links().size());
    for (const auto& node : doc.Nodes()) nodes.try_emplace(mapvine::ReportedName(*node), node.get());
    for (const auto& link : doc.Links()) {
      links.try_emplace(KeyOf(link->ownerName, link->destinationName, link->tgNumber), link.get());
    }
  }
  mapvine::CNode* FindNode(std::string_view name) const {
    const auto found = nodes.find(name);
    return found == nodes.end() ? nullptr : found->second;
  }
  mapvine::CLink* FindLink(std::string_view a, std::string_view b, int tg) const {
    const auto found = links.find(KeyOf(a, b, tg));
    return found == links.end() ? nullptr : found->second;
  }
  boost::unordered_flat_map<std::string_view, mapvine::CNode*, std::hash<std::string_view>> nodes;
  boost::unordered_flat_map<LinkKey, mapvine::CLink*, LinkKeyHash> links;
};

template <typename Indexes>
void RunLookups(benchmark::State& state, const CMapvineDoc& doc, const std::vector<Lookup>& lookups) {
  const Indexes indexes(doc);
  for (auto _ : state) {
    int statuses = 0;
    for (const Lookup& lookup : lookups) {
      if (const auto* node = std::get_if<NodeLookup>(&lookup)) {
        statuses += IsActive(indexes.FindNode(node->name)->status);
      } else {
        const auto& link = std::get<LinkLookup>(lookup);
        const auto* found = indexes.FindLink(link.owner, link.destination, link.tgNumber);
        statuses += IsActive(found->status);
      }
    }
    benchmark::DoNotOptimize(statuses);
  }
}

void BM_RefreshLookups(benchmark::State& state) {
  const auto resources = static_cast<std::size_t>(state.range(0));
  ServedNetwork network(resources);
  auto doc = NewPicture(true);
  mapvine::dorefresh(*doc, network.snaCtl);
  const std::vector<Lookup> lookups = LookupsOfARefresh(network.snaCtl);
  if (state.range(1) == 0) {
    RunLookups<HandWrittenIndexes>(state, *doc, lookups);
  } else {
    RunLookups<BoostIndexes>(state, *doc, lookups);
  }
  PerResource(state, resources);
}

// Several iterations even at 64k, so that the figures show steady refreshes
// rather than the first touch of fresh memory.
BENCHMARK(BM_FirstRefresh)
    ->ArgsProduct({{1000, 4000, 16000, 64000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK(BM_SecondRefresh)
    ->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK(BM_RefreshLookups)
    ->ArgsProduct({{1000, 64000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
