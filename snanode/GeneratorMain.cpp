// snanode-gen --resources N --seed S, or snanode-gen --largest --seed S:
// prints a synthetic network description to standard output.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "snanode/NetworkGenerator.h"

namespace {

template <typename T>
bool ParseValue(std::string_view text, T& out) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

int Usage() {
  std::fprintf(stderr,
               "usage: snanode-gen --resources N [--seed S]\n"
               "       snanode-gen --largest [--seed S]\n"
               "  N: network nodes, connection networks, end nodes, LUs and TGs together (0 to %zu)\n"
               "  --largest: every list as long as the node can report it: %zu node records\n"
               "             (network nodes and connection networks), %zu TGs, %zu directory entries\n"
               "  S: 32-bit seed (default 1); the same size and S always give the same network\n",
               snanode::kMaxGeneratedResources, snanode::kMaxListEntries, snanode::kMaxListEntries,
               snanode::kMaxListEntries);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t resources = 0;
  std::uint32_t seed = 1;
  bool haveResources = false;
  bool largest = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--largest") {
      largest = true;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const std::string_view value = argv[++i];
    if (option == "--resources" && ParseValue(value, resources) && resources <= snanode::kMaxGeneratedResources) {
      haveResources = true;
    } else if (option != "--seed" || !ParseValue(value, seed)) {
      return Usage();
    }
  }
  if (haveResources == largest) return Usage();  // exactly one size
  const std::string text =
      largest ? snanode::GenerateLargestNetworkText(seed) : snanode::GenerateNetworkText(resources, seed);
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
