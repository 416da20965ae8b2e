// snanode-gen --resources N --seed S: prints a synthetic network
// description to standard output.

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
               "usage: snanode-gen --resources N --seed S\n"
               "  N: network nodes, connection networks, end nodes, LUs and TGs together (0 to %zu)\n"
               "  S: 32-bit seed; the same N and S always give the same network\n",
               snanode::kMaxGeneratedResources);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t resources = 0;
  std::uint32_t seed = 1;
  bool haveResources = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string_view value = argv[++i];
    if (option == "--resources" && ParseValue(value, resources) && resources <= snanode::kMaxGeneratedResources) {
      haveResources = true;
    } else if (option != "--seed" || !ParseValue(value, seed)) {
      return Usage();
    }
  }
  if (!haveResources) return Usage();
  const std::string text = snanode::GenerateNetworkText(resources, seed);
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
