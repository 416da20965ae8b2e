// The program against the node library itself: the network changes on the
// node's clock, and each refresh shows it in the document and on screen,
// also when the picture is saved and reopened before every refresh.

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "app/MainFrame.h"
#include "tests/app/AppFixture.h"
#include "tests/app/NodeLibrary.h"
#include "app/MapvineApp.h"
#include "protocol/SnaLibrary.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

// Besides its timeline, the node reports a node type the program does not
// draw, flow-reduction numbers, entries longer than the program reads, and
// connection networks that do not answer.
constexpr const char* kNetwork =
    "nn NETA.NN1\nnn NETA.NN2\ncn NETA.CN1\nen NETA.EN1\nlu NETA.LU1 parent=NETA.EN1\nnode NETA.LEN1 type=1\n"
    "tg NETA.NN1 NETA.NN2 21 operative\ntg NETA.NN1 NETA.CN1 1 operative\ntg NETA.NN2 NETA.EN1 1 operative\n"
    "tg NETA.NN1 NETA.LEN1 1 operative\nflow-reduction\nlong-entries 24\ncn-silent\n"
    "at 10 nn NETA.NN2 congested\nat 10 cn NETA.CN1 quiescing\nat 10 tg NETA.NN1 NETA.NN2 21\n"
    "at 20 nn NETA.NN2\nat 20 cn NETA.CN1\nat 20 tg NETA.NN1 NETA.NN2 21 operative\nat 20 nn NETA.NN3\n"
    "at 30 aping NETA.LU1 fail 0x0300 0x05000000\nat 40 remove NETA.NN3\n";

struct Link {
  const char *a, *b;
  int status;
};
// Each row sets the node's clock and refreshes once; the status pass only
// where asked, since it would override a congested node's reported status.
const struct Row {
  int seconds;
  bool statusPass;
  std::vector<std::pair<const char*, int>> nodes;  // label, status
  std::vector<Link> links;
} kRows[] = {
    {0, false, {{"NN2", 1}, {"CN1", 1}, {"EN1", 1}, {"LU1", 1}}, {{"NN1", "NN2", 1}}},
    {10, false, {{"NN2", 0}, {"CN1", 0}}, {{"NN1", "NN2", 0}}},
    {20, false, {{"NN2", 1}, {"CN1", 1}, {"NN3", 1}}, {{"NN1", "NN2", 1}, {"NN2", "EN1", 1}}},
    {30, true, {{"LU1", 0}, {"EN1", 1}, {"CN1", 0}}, {{"LU1", "EN1", 0}}},
    {35, true, {{"LU1", 0}}, {{"LU1", "EN1", 0}}},  // and on every refresh after
    {40, true, {{"NN3", 0}, {"NN2", 1}}, {}},       // no longer reported, no longer answering
};

// A point of the link's line that no icon and no other line covers.
std::optional<Point> OwnPixel(const CMapvineDoc& doc, const CLink& link) {
  for (int step = 1; step < 16; ++step) {
    const Point p{link.x1 + (link.x2 - link.x1) * step / 16, link.y1 + (link.y2 - link.y1) * step / 16};
    const auto onNode = [&](const auto& node) { return node->GetRect().Contains(p); };
    const auto onLink = [&](const auto& other) { return other.get() != &link && other->HitTest(p.x, p.y); };
    if (std::none_of(doc.Nodes().begin(), doc.Nodes().end(), onNode) &&
        std::none_of(doc.Links().begin(), doc.Links().end(), onLink)) {
      return p;
    }
  }
  return std::nullopt;
}

// Whether two pictures agree inside the rectangle, apart from the lines
// that run under the icon's transparent pixels.
bool SameIcon(const CMapvineDoc& doc, const QImage& a, const QImage& b, const Rect& r) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const auto onLink = [&](const auto& link) { return link->HitTest(x, y); };
      if (a.pixel(x, y) != b.pixel(x, y) && std::none_of(doc.Links().begin(), doc.Links().end(), onLink)) return false;
    }
  }
  return true;
}

class LiveNetwork : public ::testing::TestWithParam<bool> {};

TEST_P(LiveNetwork, EachRefreshShowsTheNetworkAsItIsNow) {
  // The two sittings' descriptions differ in length, so that the library
  // sees the file change when both run in one process.
  const SnaLibrary library =
      testing::NodeLibraryServing(std::string(kNetwork) + (GetParam() ? "# reopened\n" : ""));
  ASSERT_TRUE(library.Loaded()) << library.error;
  QTemporaryDir folder;
  CMapvineApp app(library);
  ASSERT_TRUE(app.InitInstance(CommandLine{}));
  std::map<std::string, std::pair<int, QImage>> shown;  // status and picture when last seen
  for (const Row& row : kRows) {
    SCOPED_TRACE("at " + std::to_string(row.seconds) + " s");
    setenv("SNANODE_TIME", std::to_string(row.seconds).c_str(), 1);
    if (GetParam() && row.seconds > 0) {
      ASSERT_TRUE(app.Commands().SaveTo(folder.filePath("live.top")));
      ASSERT_TRUE(app.OpenDocumentFile(folder.filePath("live.top")));
      // The reopened picture maps its colours afresh: compare with it as it opens.
      for (auto& seen : shown) seen.second.second = app.MainFrame().View().Frame().PictureImage();
    }
    CMapvineDoc& doc = app.Document();
    doc.settings.activeQuery = row.statusPass ? 1 : 0;
    const PlacementState placement = doc.placement;
    ::testing::internal::CaptureStdout();  // APING timings
    mapvine::testing::RefreshAndWait(app);
    ::testing::internal::GetCapturedStdout();
    const QImage picture = app.MainFrame().View().Frame().PictureImage();

    for (const auto& node : doc.Nodes()) {
      EXPECT_EQ(node->imageIndex, IsActive(node->status) ? node->activeImage : node->inactiveImage) << node->label;
    }
    for (const auto& [label, status] : row.nodes) {
      const CNode* node = doc.FindNode(label);
      ASSERT_NE(node, nullptr) << label;
      EXPECT_EQ(IsActive(node->status), status == 1) << label;
      const Rect r = node->GetRect();
      if (const auto last = shown.find(label); last != shown.end()) {
        EXPECT_EQ(SameIcon(doc, picture, last->second.second, r), status == last->second.first) << label << " on screen";
      } else if (row.seconds > 0) {  // a new resource, where placement puts the next node
        const PlacementState after = doc.placement;
        doc.placement = placement;
        const Point place = doc.AdvancePlacement();
        doc.placement = after;
        EXPECT_EQ(Point(r.left, r.top), place) << label;
      }
      shown[label] = {status, picture};
    }
    for (const Link& expected : row.links) {
      const auto found = std::find_if(doc.Links().begin(), doc.Links().end(), [&](const auto& link) {
        return link->endA->label == expected.a && link->endB->label == expected.b;
      });
      ASSERT_NE(found, doc.Links().end()) << expected.a << "-" << expected.b;
      EXPECT_EQ(IsActive((*found)->status), expected.status == 1) << expected.a << "-" << expected.b;
      const std::optional<Point> own = OwnPixel(doc, **found);
      ASSERT_TRUE(own.has_value()) << expected.a << "-" << expected.b;
      const QColor colour = picture.pixelColor(own->x, own->y);
      EXPECT_EQ(colour.green() > colour.red(), expected.status == 1) << expected.a << "-" << expected.b;
    }
  }
  EXPECT_EQ(app.Document().Nodes().size(), 6u);  // never the node of another type
}

INSTANTIATE_TEST_SUITE_P(InOneSittingAndReopened, LiveNetwork, ::testing::Values(false, true));

}  // namespace
}  // namespace mapvine
