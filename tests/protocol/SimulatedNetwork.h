#pragma once

// A simulated node serving a network described in text, for tests that
// check the queries against a node that behaves like a real one.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "protocol/VerbBlock.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"

namespace mapvine::testing {

inline snanode::SimulatedNode NodeServing(std::string_view description) {
  snanode::ParseResult parsed = snanode::ParseNetwork(description, "test.net");
  EXPECT_TRUE(parsed.network.has_value()) << parsed.error;
  if (!parsed.network) return snanode::SimulatedNode::Failing(0x04F0, 0);
  return snanode::SimulatedNode(std::move(*parsed.network));
}

inline std::string SampleDescription() {
  std::ifstream in(MAPVINE_SOURCE_DIR "/resources/sample.net");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline SnaCtlFunction EntryOf(const snanode::SimulatedNode& node) {
  return [&node](void* block, std::uint32_t length) { node.Call(block, length); };
}

}  // namespace mapvine::testing
