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
  // Never destroyed: a caller may leave a verb running on a thread of its
  // own while the process exits, and the node must not vanish under it.
  static snanode::LiveNode& node = *new snanode::LiveNode(DescriptionPath());
  node.Call(block, length);
}
