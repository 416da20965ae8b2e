#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "SimulatedNetwork.h"
#include "protocol/NodeAnswers.h"
#include "protocol/QueryReport.h"
#include "protocol/RecordText.h"

namespace mapvine {
namespace {

using namespace testing;

TEST(RecordText, StatusBitsAsWords) {
  EXPECT_EQ(TgStatusText(0x00), "inoperative");
  EXPECT_EQ(TgStatusText(0x80), "operative");
  EXPECT_EQ(TgStatusText(0x93), "operative, CP-CP sessions, RTP, HPR");
  EXPECT_EQ(TgStatusText(0x20), "inoperative, quiescing");
  EXPECT_EQ(NodeStatusText(0x00), "uncongested");
  EXPECT_EQ(NodeStatusText(0xE4), "congested, IRR depleted, ERR depleted, quiescing");
  EXPECT_EQ(NodeStatusText(0x01), "") << "bits without a name are not invented";
  EXPECT_EQ(NodeTypeText(2), "network node");
  EXPECT_EQ(NodeTypeText(4), "connection network");
  EXPECT_EQ(NodeTypeText(7), "node type 7");
  EXPECT_EQ(ResourceTypeText(0x00F3), "LU");
  EXPECT_EQ(ResourceTypeText(0x00F4), "end node");
  EXPECT_EQ(ResourceTypeText(0x00F6), "network node");
  EXPECT_EQ(ResourceTypeText(0x00F9), "resource type 0x00F9");
}

std::string Report(const SnaCtlFunction& snaCtl) {
  std::ostringstream out;
  PrintQueryReport(AskNode(snaCtl), out);
  return out.str();
}

TEST(QueryReport, SampleNetworkCountsAndDecodedLines) {
  const auto node = NodeServing(SampleDescription());
  const std::string report = Report(EntryOf(node));
  for (const char* line : {
           "Topology: 6 network nodes, 2 connection networks, 24 TGs\n",
           "  network node NETA.NN3: congested, IRR depleted\n",
           "  connection network NETA.TRNCN1: uncongested\n",
           "  TG 23 NETA.NN1 -> NETA.NN2: inoperative, quiescing\n",
           "  TG 21 NETA.NN1 -> NETA.NN2: operative, CP-CP sessions, RTP, HPR\n",
           "  TG 1 NETA.NN4 -> NETA.EN6: inoperative\n",
           "Directory: 28 LUs with a parent\n",
           "  LU NETA.PAYLU1, parent end node NETA.EN1\n",
           "  end node NETA.EN3, parent network node NETA.NN2\n",
       }) {
    EXPECT_NE(report.find(line), std::string::npos) << line << "in\n" << report;
  }
  // The topology lists every node before the first TG.
  EXPECT_LT(report.rfind("  network node"), report.find("  TG "));
}

TEST(QueryReport, FailuresNameTheirReturnCodes) {
  const auto node = snanode::SimulatedNode::Failing(0x0100, 0x00001B00);
  const std::string report = Report(EntryOf(node));
  const std::string codes = "PARAMETER_CHECK, NODE_NOT_STARTED (primary 0x0100, secondary 0x00001B00)\n";
  EXPECT_EQ(report, "Topology query failed: " + codes + "Directory query failed: " + codes);
}

}  // namespace
}  // namespace mapvine
