#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "base/Diagnostics.h"
#include "refresh/RefreshPass.h"
#include "protocol/SnaWire.h"
#include "base/Trace.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/model/FakeDocumentView.h"
#include "tests/refresh/InTraceFolder.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

snanode::SimulatedNode NodeServing(std::string_view description) {
  snanode::ParseResult parsed = snanode::ParseNetwork(description, "test");
  EXPECT_TRUE(parsed.network.has_value()) << parsed.error;
  return snanode::SimulatedNode(std::move(*parsed.network));
}

SnaCtlFunction CallsOf(const snanode::SimulatedNode& node) {
  return [&node](void* block, std::uint32_t length) { node.Call(block, length); };
}

using RefreshTrace = InTraceFolder;

TEST_F(RefreshTrace, EmptyNetworkTracesBothCountsAsZero) {
  DocumentWithView d;
  const auto node = NodeServing("node-state active\n");
  SetTraceEnabled(true);
  dorefresh(d.doc, CallsOf(node));
  EXPECT_EQ(TraceText(),
            "Entered dorefresh()\n\n"
            "Updating NN & TG Topology\n\n"
            "Found 0 NNs or CPs in topology display\n\n"
            "Updating LUs\n\n"
            "Found 0 LUs in topology display\n\n");
  EXPECT_TRUE(d.doc.Nodes().empty());
}

TEST_F(RefreshTrace, NothingIsWrittenWhileTracingIsOff) {
  DocumentWithView d;
  const auto node = NodeServing("nn NETA.NN1\n");
  dorefresh(d.doc, CallsOf(node));
  EXPECT_FALSE(std::filesystem::exists("mapvine.trc"));
  EXPECT_NE(d.doc.FindNode("NN1"), nullptr);
}

TEST_F(RefreshTrace, NodesTgsAndLusTraceTheirLines) {
  DocumentWithView d;
  const auto node = NodeServing(
      "nn NETA.NN1\n"
      "nn NETA.NN2\n"
      "en NETA.EN1 server=NETA.NN1\n"
      "lu NETA.LU1 parent=NETA.EN1\n"
      "tg NETA.NN1 NETA.NN2 21 operative\n");
  SetTraceEnabled(true);
  dorefresh(d.doc, CallsOf(node));
  const std::string trace = TraceText();
  for (const char* line :
       {"NN Topo: NN NN1|\n\n", "NN Topo: NN NN2|\n\n", "TP: LK NN1 NN2\n\n", "LULU1|\n\n",
        "LU: EN LU1|\n\n", "LU: LK LU1 EN1|\n\n",
        "CMapvineDoc::NewNode - Adding type 3\n\n",
        "CMapvineDoc::NewNode - Notifying view of resource for LU1, fq NETA.LU1\n",
        "CMapvineDoc::NewLink(1) called for LU1 - EN1, tg: 0\n\n"}) {
    EXPECT_NE(trace.find(line), std::string::npos) << line;
  }

  const CNode* en = d.doc.FindNode("EN1");
  const CNode* lu = d.doc.FindNode("LU1");
  ASSERT_NE(en, nullptr);
  ASSERT_NE(lu, nullptr);
  EXPECT_EQ(en->nodeType, EndNode);
  EXPECT_EQ(en->fqName, "NETA.EN1");
  EXPECT_EQ(lu->nodeType, LogicalUnit);
  ASSERT_NE(lu->directoryRecord, nullptr);
  EXPECT_EQ(d.doc.FindNode("NN1")->nodeType, NetworkNode);
  ASSERT_NE(d.doc.FindNode("NN1")->nodeRecord, nullptr);

  int tgLinks = 0, luLinks = 0;
  for (const auto& link : d.doc.Links()) {
    if (link->tgNumber == 21) {
      ++tgLinks;
      EXPECT_EQ(link->status, ResourceStatus::Active);
      EXPECT_NE(link->tgRecord, nullptr);
    }
    if (link->ownerName == "LU1") {
      ++luLinks;
      EXPECT_EQ(link->destinationName, "EN1");
      EXPECT_EQ(link->status, ResourceStatus::Active);
    }
  }
  EXPECT_EQ(tgLinks, 1);
  EXPECT_EQ(luLinks, 1);
}

TEST_F(RefreshTrace, ResourceNamedLikeItsParentAddsNothing) {
  DocumentWithView d;
  const auto node = NodeServing(
      "nn NETA.NN1\n"
      "en NETA.EN1 server=NETA.NN1\n"
      "lu NETB.EN1 parent=NETA.EN1\n");
  SetTraceEnabled(true);
  dorefresh(d.doc, CallsOf(node));
  EXPECT_NE(TraceText().find("Owner = name for EN1\n"), std::string::npos);
  // The end node itself still comes from its own directory entry.
  for (const auto& link : d.doc.Links()) EXPECT_NE(link->ownerName, link->destinationName);
}

TEST_F(RefreshTrace, TgsToEndNodesAreDrawnByTheFirstRefreshInTheirOrder) {
  DocumentWithView d;
  const auto node = NodeServing(
      "nn NETA.NN1\n"
      "en NETA.EN1 server=NETA.NN1\n"
      "en NETA.EN2 server=NETA.NN1\n"
      "tg NETA.NN1 NETA.EN1 5\n"
      "tg NETA.NN1 NETA.EN2 2 operative\n");
  SetTraceEnabled(true);
  dorefresh(d.doc, CallsOf(node));
  std::vector<std::pair<int, bool>> tgs;  // number, active
  for (const auto& link : d.doc.Links()) {
    if (link->tgNumber != 0) tgs.emplace_back(link->tgNumber, IsActive(link->status));
  }
  EXPECT_EQ(tgs, (std::vector<std::pair<int, bool>>{{5, false}, {2, true}}));
  // The retries come after the directory's lines, once each.
  const std::string trace = TraceText();
  const std::size_t lastLuLine = trace.find("LU: LK EN2 NN1|\n");
  ASSERT_NE(lastLuLine, std::string::npos);
  const std::size_t retry = trace.find("NewLink(1) called for NN1 - EN1, tg: 5\n", lastLuLine);
  EXPECT_NE(retry, std::string::npos);
  EXPECT_LT(retry, trace.find("NewLink(1) called for NN1 - EN2, tg: 2\n", lastLuLine));
  EXPECT_EQ(trace.find("TP: ", lastLuLine), std::string::npos);
}

TEST(RefreshPass, LaterRefreshesAddNothingAndKeepPlacesThroughRenames) {
  DocumentWithView d;
  std::ifstream sample(MAPVINE_SOURCE_DIR "/resources/sample.net");
  std::stringstream text;
  text << sample.rdbuf();
  const auto node = NodeServing(text.str());
  dorefresh(d.doc, CallsOf(node));
  std::vector<Rect> places;
  for (const auto& n : d.doc.Nodes()) places.push_back(n->GetRect());
  const std::size_t nodes = d.doc.Nodes().size();
  const std::size_t links = d.doc.Links().size();
  // Names the user gave the nodes do not make the network's nodes new ones.
  for (const auto& n : d.doc.Nodes()) d.doc.RenameNode(*n, "MY" + n->label);

  dorefresh(d.doc, CallsOf(node));
  dorefresh(d.doc, CallsOf(node));
  ASSERT_EQ(d.doc.Nodes().size(), nodes);
  EXPECT_EQ(d.doc.Links().size(), links);
  std::size_t i = 0;
  for (const auto& n : d.doc.Nodes()) EXPECT_EQ(n->GetRect(), places[i++]);
  EXPECT_EQ(d.doc.RefreshGeneration(), 4);
  // The picture grew to hold every node, and the view shows it.
  EXPECT_EQ(d.view.BufferRect().Width(), d.doc.picture.composedWidth);
  for (const auto& n : d.doc.Nodes()) {
    EXPECT_LE(n->GetRect().right, d.doc.picture.composedWidth);
    EXPECT_LE(n->GetRect().bottom, d.doc.picture.composedHeight);
  }
}

TEST(RefreshPass, FailedQueriesAddNothing) {
  DocumentWithView d;
  const auto node = snanode::SimulatedNode::Failing(snawire::kRcCommSubsystemNotLoaded, 0);
  dorefresh(d.doc, CallsOf(node));
  EXPECT_TRUE(d.doc.Nodes().empty());
  EXPECT_TRUE(d.doc.Links().empty());
}

TEST(RefreshPass, DirectoryEntryWithoutANameIsReportedAsADiagnostic) {
  DocumentWithView d;
  const auto node = NodeServing(
      "nn NETA.NN1\n"
      "en NETA.EN1 server=NETA.NN1\n");
  // Blank out the resource name of every directory entry on its way back.
  const SnaCtlFunction nameless = [&node](void* block, std::uint32_t length) {
    node.Call(block, length);
    auto* bytes = static_cast<std::uint8_t*>(block);
    if (snawire::GetU16(bytes, snawire::kOpcode) != snawire::kOpDirectoryQuery) return;
    std::uint8_t* buffer = snawire::LoadBufferAddress(bytes);
    const std::uint32_t size = snawire::GetU32(bytes, snawire::kBufferSize);
    std::uint32_t offset = 0;
    for (int i = 0; i < snawire::GetU16(bytes, snawire::kEntryCount); ++i) {
      buffer[offset + snawire::kDirResourceName] = 0;
      offset += snawire::GetU16(buffer, offset);
      if (offset + snawire::kDirectoryRecordSize > size) break;
    }
  };
  // On standard output beside a window; on standard error when standard
  // output carries a report.
  for (const bool report : {false, true}) {
    SetDiagnosticsStream(report ? stderr : stdout);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    dorefresh(d.doc, nameless);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE((report ? errors : out).find("*** ERROR *** parent name = none\n"), std::string::npos);
    EXPECT_EQ((report ? out : errors).find("parent name"), std::string::npos);
    EXPECT_EQ(d.doc.FindNode("EN1"), nullptr);
  }
  SetDiagnosticsStream(stdout);
}

}  // namespace
}  // namespace mapvine
