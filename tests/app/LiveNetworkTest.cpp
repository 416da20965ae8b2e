// The program against the simulated node library itself, as shipped: the
// network changes on the node's clock, and each refresh must show it in the
// document and on screen, also after the picture was saved and reopened.

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>

#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "node/SnaLibrary.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

constexpr const char* kNetwork = R"(nn NETA.NN1
nn NETA.NN2
cn NETA.CN1
en NETA.EN1
lu NETA.LU1 parent=NETA.EN1
tg NETA.NN1 NETA.NN2 21 operative
tg NETA.NN1 NETA.CN1 1 operative
tg NETA.NN2 NETA.EN1 1 operative
at 10 nn NETA.NN2 congested
at 10 cn NETA.CN1 quiescing
at 10 tg NETA.NN1 NETA.NN2 21
at 20 nn NETA.NN2
at 20 cn NETA.CN1
at 20 tg NETA.NN1 NETA.NN2 21 operative
at 20 nn NETA.NN3
at 30 aping NETA.LU1 fail 0x0300 0x05000000
at 40 remove NETA.NN3
)";

struct Expected {
  const char* node;
  int status;
};
struct ExpectedLink {
  const char* a;
  const char* b;
  int status;
};

// Each row advances the node's clock and refreshes once.
const struct Row {
  int seconds;
  bool statusPass;
  std::vector<Expected> nodes;
  std::vector<ExpectedLink> links;
} kRows[] = {
    {0, false, {{"NN2", 1}, {"CN1", 1}}, {{"NN1", "NN2", 1}}},
    {10, false, {{"NN2", 0}, {"CN1", 0}}, {{"NN1", "NN2", 0}}},
    {20, false, {{"NN2", 1}, {"CN1", 1}}, {{"NN1", "NN2", 1}}},
    {25, false, {{"NN3", 1}}, {{"NN2", "EN1", 1}}},
    // An LU that stops answering is inactive with its link down, refresh after refresh.
    {30, true, {{"LU1", 0}, {"EN1", 1}}, {{"LU1", "EN1", 0}}},
    {35, true, {{"LU1", 0}}, {{"LU1", "EN1", 0}}},
    // A node no longer reported stays where it was; it no longer answers.
    {40, true, {{"NN3", 0}, {"NN2", 1}}, {}},
};

const CLink* FindLink(const CMapvineDoc& doc, std::string_view a, std::string_view b) {
  for (const auto& link : doc.Links()) {
    if (link->endA && link->endB && link->endA->label == a && link->endB->label == b) return link.get();
  }
  return nullptr;
}

// A point of the link's line that no icon and no other line covers.
std::optional<Point> OwnPixel(const CMapvineDoc& doc, const CLink& link) {
  for (int step = 1; step < 16; ++step) {
    const Point p{link.x1 + (link.x2 - link.x1) * step / 16, link.y1 + (link.y2 - link.y1) * step / 16};
    const bool covered =
        std::any_of(doc.Nodes().begin(), doc.Nodes().end(), [&](const auto& n) { return n->GetRect().Contains(p); }) ||
        std::any_of(doc.Links().begin(), doc.Links().end(),
                    [&](const auto& other) { return other.get() != &link && other->HitTest(p.x, p.y); });
    if (!covered) return p;
  }
  return std::nullopt;
}

QImage IconPixels(const QImage& picture, const CSprite& node) {
  const Rect r = node.GetRect();
  return picture.copy(r.left, r.top, r.Width(), r.Height());
}

class LiveNetwork : public ::testing::TestWithParam<bool> {
 protected:
  static void SetUpTestSuite() {
    // The library reads its description on its first call; every case
    // after that rewrites the same file, which the node reads again.
    setenv("SNANODE_NETWORK", Path().c_str(), 1);
  }
  static void TearDownTestSuite() { unsetenv("SNANODE_TIME"); }
  static std::string Path() { return ::testing::TempDir() + "mapvine-live.net"; }
};

TEST_P(LiveNetwork, EachRefreshShowsTheNetworkAsItIsNow) {
  const bool reopenEachTime = GetParam();
  const SnaLibrary library = LoadSnaLibrary({SNACTL_LIBRARY});
  ASSERT_TRUE(library.Loaded()) << library.error;
  // A different size each run, so that the node sees a changed file.
  std::ofstream(Path(), std::ios::trunc) << kNetwork << (reopenEachTime ? "# reopened\n" : "");
  QTemporaryDir folder;
  const QString saved = folder.filePath("live.top");

  CMapvineApp app(library.snaCtl);
  ASSERT_TRUE(app.InitInstance(CommandLine{}));
  std::map<std::string, std::pair<int, QImage>> shown;  // by label: status and icon last seen
  for (const Row& row : kRows) {
    SCOPED_TRACE("at " + std::to_string(row.seconds) + " s");
    setenv("SNANODE_TIME", std::to_string(row.seconds).c_str(), 1);
    if (reopenEachTime && !app.Document().Nodes().empty()) {
      ASSERT_TRUE(app.Commands().SaveTo(saved));
      ASSERT_TRUE(app.OpenDocumentFile(saved));
    }
    CMapvineDoc& doc = app.Document();
    doc.settings.activeQuery = row.statusPass ? 1 : 0;
    const PlacementState before = doc.placement;
    const std::size_t nodesBefore = doc.Nodes().size();
    ::testing::internal::CaptureStdout();  // APING timings
    app.MainFrame().Route(command::kRefresh);
    ::testing::internal::GetCapturedStdout();
    const QImage picture = app.MainFrame().View().PictureImage();

    for (const auto& node : doc.Nodes()) {
      EXPECT_EQ(node->imageIndex, node->status == 1 ? node->activeImage : node->inactiveImage) << node->label;
    }
    for (const Expected& expected : row.nodes) {
      const CSprite* node = doc.FindNode(expected.node);
      ASSERT_NE(node, nullptr) << expected.node;
      EXPECT_EQ(node->status, expected.status) << expected.node;
      // On screen the icon changed exactly when the status did.
      const QImage icon = IconPixels(picture, *node);
      if (const auto last = shown.find(expected.node); last != shown.end()) {
        EXPECT_EQ(icon == last->second.second, expected.status == last->second.first) << expected.node;
      }
      shown[expected.node] = {expected.status, icon};
    }
    for (const ExpectedLink& expected : row.links) {
      const CLink* link = FindLink(doc, expected.a, expected.b);
      ASSERT_NE(link, nullptr) << expected.a << "-" << expected.b;
      EXPECT_EQ(link->status, expected.status) << expected.a << "-" << expected.b;
      const std::optional<Point> own = OwnPixel(doc, *link);
      ASSERT_TRUE(own.has_value()) << expected.a << "-" << expected.b;
      const QColor colour = picture.pixelColor(own->x, own->y);
      EXPECT_EQ(colour.green() > colour.red(), expected.status == 1) << expected.a << "-" << expected.b;
    }
    // A new resource takes the place the placement rule gives the next node.
    if (doc.Nodes().size() == nodesBefore + 1) {
      const PlacementState after = doc.placement;
      doc.placement = before;
      const Point place = doc.NextPosition();
      doc.placement = after;
      const CSprite* added = doc.FindNode("NN3");
      ASSERT_NE(added, nullptr);
      EXPECT_EQ(added->GetRect().left, place.x);
      EXPECT_EQ(added->GetRect().top, place.y);
    }
  }
  EXPECT_EQ(app.Document().Nodes().size(), 6u);
}

INSTANTIATE_TEST_SUITE_P(InOneSittingAndReopened, LiveNetwork, ::testing::Values(false, true));

}  // namespace
}  // namespace mapvine
