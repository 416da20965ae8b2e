#include <gtest/gtest.h>

#include <algorithm>

#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

// An image whose pixel (x, y) holds a value derived from its position, so
// that copies can be checked pixel by pixel.
std::unique_ptr<CDIB> PatternImage(int width, int height) {
  auto image = std::make_unique<CDIB>();
  image->Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) *image->PixelPtr(x, y) = static_cast<std::uint8_t>(1 + (x + 3 * y) % 200);
  }
  return image;
}

struct NaturalSize {
  int imageWidth, imageHeight;
  int canvasWidth, canvasHeight;
  int requestedWidth, requestedHeight;
};

TEST(ComposeBackground, SmallBackgroundsGetAMinimumCanvas) {
  const NaturalSize cases[] = {
      {100, 100, 175, 100, 175, 100},
      {300, 100, 300, 200, 300, 200},
      {100, 150, 175, 150, 175, 150},
      {800, 600, 800, 600, 0, 0},
  };
  for (const NaturalSize& c : cases) {
    DocumentWithView d;
    EXPECT_TRUE(d.doc.ComposeBackground(PatternImage(c.imageWidth, c.imageHeight),
                                        kArrangementChosenInView, 0, 0));
    EXPECT_EQ(d.doc.picture.composedWidth, c.canvasWidth) << c.imageWidth << "x" << c.imageHeight;
    EXPECT_EQ(d.doc.picture.composedHeight, c.canvasHeight) << c.imageWidth << "x" << c.imageHeight;
    EXPECT_EQ(d.doc.picture.pictureWidth, c.requestedWidth);
    EXPECT_EQ(d.doc.picture.pictureHeight, c.requestedHeight);
    EXPECT_EQ(d.doc.backgroundSource->GetWidth(), c.imageWidth);
    EXPECT_EQ(d.doc.images[0]->GetWidth(), c.imageWidth);
  }
}

TEST(ComposeBackground, CentresAWideSourceOnASquareCanvas) {
  DocumentWithView d;
  d.doc.ComposeBackground(PatternImage(300, 100), kArrangementChosenInView, 0, 0);
  // Remember the source as it ended up, mapped to the merged palette.
  const CDIB& source = *d.doc.backgroundSource;
  ASSERT_TRUE(d.doc.ComposeBackground(nullptr, BackgroundArrangement::Centre, 200, 200));
  const ComposedBackground& canvas = *d.doc.composedBackground;
  ASSERT_EQ(canvas.GetWidth(), 200);
  for (int y : {0, 49, 150, 199}) EXPECT_EQ(canvas.PixelAt(100, y), 0) << "row " << y;
  for (int y : {50, 100, 149}) {
    for (int x : {0, 77, 199}) {
      EXPECT_EQ(canvas.PixelAt(x, y), *source.PixelPtr(x + 50, y - 50)) << x << "," << y;
    }
  }
}

TEST(ComposeBackground, TilesTheSourceAcrossTheCanvas) {
  DocumentWithView d;
  d.doc.ComposeBackground(PatternImage(300, 250), kArrangementChosenInView, 0, 0);
  d.doc.ComposeBackground(nullptr, kArrangementChosenInView, 700, 600);
  const CDIB& source = *d.doc.backgroundSource;
  const ComposedBackground& canvas = *d.doc.composedBackground;
  for (Point p : {Point{0, 0}, Point{299, 249}, Point{300, 0}, Point{650, 520}, Point{699, 599}}) {
    EXPECT_EQ(canvas.PixelAt(p.x, p.y), *source.PixelPtr(p.x % 300, p.y % 250));
  }
}

TEST(ComposeBackground, PullsNodesBackInsideASmallerCanvas) {
  DocumentWithView d;
  d.doc.ComposeBackground(PatternImage(520, 320), kArrangementChosenInView, 0, 0);
  d.doc.NewNode("A", "NETA.A", NetworkNode, nullptr, nullptr);
  d.doc.NewNode("B", "NETA.B", NetworkNode, nullptr, nullptr);
  CNode* a = d.doc.FindNode("A");
  CNode* b = d.doc.FindNode("B");
  a->SetPosition(450, 10);
  b->SetPosition(10, 290);

  d.doc.ComposeBackground(nullptr, kArrangementChosenInView, 400, 250);
  EXPECT_EQ(a->GetRect().right, 400 - 5);
  EXPECT_EQ(a->GetY(), 10);
  EXPECT_EQ(b->GetRect().bottom, 250 - 25);
  EXPECT_EQ(b->GetX(), 10);
}

// Growth during a refresh records sizes and lays pixels out once; the
// picture that is finally shown is the one immediate composition gives.
TEST(ComposeBackground, DeferredGrowthEndsInTheSamePicture) {
  DocumentWithView immediate, deferred;
  for (DocumentWithView* d : {&immediate, &deferred}) {
    d->doc.ComposeBackground(PatternImage(130, 210), kArrangementChosenInView, 0, 0);
  }
  deferred.doc.DeferComposition(true);
  const int backgroundsBefore = deferred.view.backgrounds;
  for (int i = 0; i < 60; ++i) {
    const std::string name = "N" + std::to_string(i);
    immediate.doc.NewNode(name, name, NetworkNode, nullptr, nullptr);
    deferred.doc.NewNode(name, name, NetworkNode, nullptr, nullptr);
  }
  EXPECT_EQ(deferred.view.backgrounds, backgroundsBefore);
  EXPECT_EQ(deferred.doc.picture.composedWidth, immediate.doc.picture.composedWidth);
  deferred.doc.FinishDeferredComposition();

  EXPECT_EQ(deferred.view.backgrounds, backgroundsBefore + 1);
  const ComposedBackground& shown = *deferred.doc.composedBackground;
  const ComposedBackground& expected = *immediate.doc.composedBackground;
  EXPECT_EQ(shown.GetRect(), expected.GetRect());
  EXPECT_EQ(shown.Arrangement(), expected.Arrangement());
  EXPECT_TRUE(shown.Source().IsSameImage(expected.Source()));
  auto d = deferred.doc.Nodes().begin();
  for (const auto& node : immediate.doc.Nodes()) {
    EXPECT_EQ(node->GetRect(), (*d)->GetRect());
    ++d;
  }
}

// Without a window, the pixels of a grown picture wait until a view shows
// them; the sizes and the node places do not wait.
TEST(ComposeBackground, WindowlessGrowthComposesWhenAViewAttaches) {
  CMapvineDoc doc;
  doc.NewDocument();
  const int widthBefore = doc.composedBackground->GetWidth();
  doc.DeferComposition(true);
  for (int i = 0; i < 40; ++i) {
    const std::string name = "N" + std::to_string(i);
    doc.NewNode(name, name, NetworkNode, nullptr, nullptr);
  }
  doc.FinishDeferredComposition();
  ASSERT_GT(doc.picture.composedWidth, widthBefore);
  EXPECT_EQ(doc.composedBackground->GetWidth(), widthBefore);

  testing::FakeDocumentView view(doc);
  doc.AttachView(&view);
  EXPECT_EQ(doc.composedBackground->GetWidth(), doc.picture.composedWidth);
  EXPECT_EQ(doc.composedBackground->GetHeight(), doc.picture.composedHeight);
  ASSERT_TRUE(view.HasBuffer());
  EXPECT_EQ(view.BufferRect().Width(), doc.picture.composedWidth);
}

}  // namespace
}  // namespace mapvine
