#include <gtest/gtest.h>

#include <sstream>

#include "app/QueryCommand.h"
#include "node/NodeAnswers.h"
#include "tests/node/SimulatedNetwork.h"

namespace mapvine {
namespace {

TEST(QueryCommand, ReportAndPictureShareOneLookAtTheNode) {
  const auto node = testing::NodeServing(testing::SampleDescription());
  int calls = 0;
  const SnaCtlFunction counted = [&](void* block, std::uint32_t length) {
    ++calls;
    node.Call(block, length);
  };
  AskNode(counted);
  const int oneLook = calls;
  calls = 0;

  std::ostringstream out;
  EXPECT_EQ(RunQueryCommand(counted, false, out), 0);
  EXPECT_EQ(calls, oneLook);
  EXPECT_NE(out.str().find("Directory: 28 LUs with a parent\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Picture: 36 nodes"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace mapvine
