#pragma once

#include <string_view>

namespace snanode {

// The text of resources/sample.net, compiled in: the network the node
// serves when $SNANODE_NETWORK names no file.
std::string_view SampleNetworkText();

}  // namespace snanode
