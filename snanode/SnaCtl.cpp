// The node library's one exported entry point. The node serves the
// description file named by $SNANODE_NETWORK, or else the compiled-in
// sample, to every call of the process (see LiveNode for how it follows
// changes of the file and of its timeline).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "snanode/LiveNode.h"

namespace {

std::string DescriptionPath() {
  const char* path = std::getenv("SNANODE_NETWORK");
  return path == nullptr ? std::string() : std::string(path);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void SnaCtl(void* block, std::uint32_t length) {
  static snanode::LiveNode node(DescriptionPath());
  node.Call(block, length);
}
