#pragma once

// Synthetic networks for tests and benchmarks: the same size and seed give
// the same description text on every run and every machine.

#include <cstddef>
#include <cstdint>
#include <string>

#include "snanode/Network.h"

namespace snanode {

// Larger requests are generated at this size: beyond it the directory
// (end nodes and LUs) would outgrow the node's 16-bit totals.
inline constexpr std::size_t kMaxGeneratedResources = 100000;

// A description (parseable by ParseNetwork) of exactly `resources` network
// nodes, connection networks, end nodes, LUs and TGs together, spread about
// 10% / 1% / 15% / 45% / rest. Network nodes form a connected mesh; every
// connection network joins two network nodes; every end node hangs off its
// server by a TG; LUs belong mostly to end nodes.
std::string GenerateNetworkText(std::size_t resources, std::uint32_t seed);

// The same network, already parsed.
Network GenerateNetwork(std::size_t resources, std::uint32_t seed);

// The largest network the node's 16-bit totals can describe: 65,535 node
// records (network nodes and about 1% connection networks), 65,535 TGs and
// 65,535 directory entries (a quarter end nodes, the rest LUs). With every
// TG slot needed to keep the backbone connected, connection networks stand
// in the backbone's tree and end nodes reach their servers through their
// directory entries only, as APPN's topology database holds no end-node TGs.
std::string GenerateLargestNetworkText(std::uint32_t seed);
Network GenerateLargestNetwork(std::uint32_t seed);

}  // namespace snanode
