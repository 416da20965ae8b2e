#include "snanode/SampleNetwork.h"

#include "snanode/SampleNetworkText.h"  // generated from resources/sample.net

namespace snanode {

std::string_view SampleNetworkText() { return kSampleNetworkText; }

}  // namespace snanode
