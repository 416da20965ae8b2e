#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "protocol/SnaLibrary.h"

namespace mapvine::testing {

// The node library, serving `description`. The library reads
// $SNANODE_NETWORK on its first call in the process and from then on
// follows that one file, so every test of the process describes its network
// in the same file. One file per process: ctest runs tests side by side.
inline SnaLibrary NodeLibraryServing(std::string_view description) {
  const std::string path = ::testing::TempDir() + "mapvine-node-" + std::to_string(::getpid()) + ".net";
  setenv("SNANODE_NETWORK", path.c_str(), 1);
  std::ofstream(path, std::ios::trunc) << description;
  SnaLibrary library = LoadSnaLibrary({SNACTL_LIBRARY});
  EXPECT_TRUE(library.Loaded()) << library.error;
  return library;
}

}  // namespace mapvine::testing
