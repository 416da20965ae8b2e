// The simulated node on large generated networks: reading a description,
// building the node, serving one continuation batch from the middle of a
// list (which must not depend on the list's length), and a probe through
// the live node, which first checks whether its file changed.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "protocol/SnaWire.h"
#include "snanode/LiveNode.h"
#include "snanode/NetworkGenerator.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"

namespace {

void ParseDescription(benchmark::State& state) {
  const std::string text = snanode::GenerateNetworkText(static_cast<std::size_t>(state.range(0)), 7);
  for (auto _ : state) {
    snanode::ParseResult result = snanode::ParseNetwork(text, "bench");
    if (!result.network) state.SkipWithError(result.error.c_str());
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseDescription)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BuildNode(benchmark::State& state) {
  const snanode::Network network = snanode::GenerateNetwork(static_cast<std::size_t>(state.range(0)), 7);
  for (auto _ : state) {
    snanode::SimulatedNode node(network);
    benchmark::DoNotOptimize(node);
  }
}
BENCHMARK(BuildNode)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One 32 KB batch of TG records continuing after the key of the list's
// middle entry.
void ContinuationBatch(benchmark::State& state) {
  const snanode::SimulatedNode node(snanode::GenerateNetwork(static_cast<std::size_t>(state.range(0)), 7));
  std::vector<std::uint8_t> buffer(32768 - 32768 % snawire::kTgRecordSize);
  std::uint8_t probe[snawire::kTgTopologyQueryLength] = {};
  snawire::PutU16(probe, snawire::kOpcode, snawire::kOpTgTopologyQuery);
  snawire::StoreBufferAddress(probe, buffer.data());
  snawire::PutU32(probe, snawire::kBufferSize, static_cast<std::uint32_t>(buffer.size()));
  probe[snawire::kListOptions] = snawire::kListFromStart;
  snawire::PutU16(probe, snawire::kEntryCount, 1);
  node.Call(probe, sizeof probe);
  const std::uint16_t total = snawire::GetU16(probe, snawire::kTotalEntries);

  // Walk to the middle once, to learn its key.
  std::uint8_t key[snawire::kTgKeyNumber + 1 - snawire::kKey] = {};
  for (std::uint16_t skipped = 0; skipped < total / 2;) {
    std::uint8_t block[snawire::kTgTopologyQueryLength] = {};
    std::copy(probe, probe + snawire::kKey, block);
    block[snawire::kListOptions] = skipped == 0 ? snawire::kListFromStart : snawire::kListAfterKey;
    snawire::PutU16(block, snawire::kEntryCount, 1);
    std::copy(key, key + sizeof key, block + snawire::kKey);
    node.Call(block, sizeof block);
    std::copy(buffer.data() + snawire::kTgOwner, buffer.data() + snawire::kTgOwner + sizeof key, key);
    ++skipped;
  }

  std::uint8_t block[snawire::kTgTopologyQueryLength] = {};
  for (auto _ : state) {
    std::copy(probe, probe + snawire::kKey, block);
    block[snawire::kListOptions] = snawire::kListAfterKey;
    snawire::PutU16(block, snawire::kEntryCount, 0);
    std::copy(key, key + sizeof key, block + snawire::kKey);
    node.Call(block, sizeof block);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.counters["entries"] = snawire::GetU16(block, snawire::kEntryCount);
}
BENCHMARK(ContinuationBatch)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A one-entry probe of the node list, as every query starts.
template <typename Node>
void ProbeNodes(benchmark::State& state, Node& node) {
  std::vector<std::uint8_t> buffer(snawire::kNodeRecordSize);
  std::uint8_t block[snawire::kNodeTopologyQueryLength] = {};
  for (auto _ : state) {
    snawire::PutU16(block, snawire::kOpcode, snawire::kOpNodeTopologyQuery);
    snawire::StoreBufferAddress(block, buffer.data());
    snawire::PutU32(block, snawire::kBufferSize, static_cast<std::uint32_t>(buffer.size()));
    block[snawire::kListOptions] = snawire::kListFromStart;
    snawire::PutU16(block, snawire::kEntryCount, 1);
    node.Call(block, sizeof block);
    benchmark::DoNotOptimize(buffer.data());
  }
}

void ProbeSimulatedNode(benchmark::State& state) {
  const snanode::SimulatedNode node(snanode::GenerateNetwork(100000, 7));
  ProbeNodes(state, node);
}
BENCHMARK(ProbeSimulatedNode)->Unit(benchmark::kMicrosecond);

void ProbeLiveNode(benchmark::State& state) {
  const std::string path = "/tmp/snanode-bench-" + std::to_string(::getpid()) + ".net";
  std::ofstream(path) << snanode::GenerateNetworkText(100000, 7);
  snanode::LiveNode node(path);
  ProbeNodes(state, node);
  std::remove(path.c_str());
}
BENCHMARK(ProbeLiveNode)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
