// The node library's one exported entry point. The node is built on the
// first call, from the description file named by $SNANODE_NETWORK or else
// from the compiled-in sample, and serves every later call of the process.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "node/SnaWire.h"
#include "snanode/NetworkParser.h"
#include "snanode/SampleNetwork.h"
#include "snanode/SimulatedNode.h"

namespace {

// Far above any description whose lists fit the 16-bit totals.
constexpr std::streamoff kMaxDescriptionBytes = 64 * 1024 * 1024;

// A node whose network could not be read answers as if its communications
// subsystem were not loaded: it never serves part of a network.
snanode::SimulatedNode Unavailable(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return snanode::SimulatedNode::Failing(snawire::kRcCommSubsystemNotLoaded, 0);
}

snanode::SimulatedNode NodeFromText(std::string_view text, std::string_view source) {
  snanode::ParseResult parsed = snanode::ParseNetwork(text, source);
  if (!parsed.network) return Unavailable(parsed.error);
  return snanode::SimulatedNode(std::move(*parsed.network));
}

snanode::SimulatedNode BuildProcessNode() {
  try {
    const char* path = std::getenv("SNANODE_NETWORK");
    if (path == nullptr || *path == '\0') return NodeFromText(snanode::SampleNetworkText(), "sample.net");
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return Unavailable(std::string(path) + ": cannot open the network description");
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kMaxDescriptionBytes) {
      return Unavailable(std::string(path) + ": network description unreadable or larger than 64 MiB");
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(text.data(), size)) return Unavailable(std::string(path) + ": cannot read the network description");
    return NodeFromText(text, path);
  } catch (const std::exception& error) {
    return Unavailable(std::string("simulated node: ") + error.what());
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void SnaCtl(void* block, std::uint32_t length) {
  static const snanode::SimulatedNode node = BuildProcessNode();
  node.Call(block, length);
}
