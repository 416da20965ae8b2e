#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/graphics/DibTestBitmaps.h"
#include "tests/model/FakeDocumentView.h"
#include "tests/support/ScriptedPrompts.h"

namespace mapvine {
namespace {

namespace fs = std::filesystem;
using testing::DocumentWithView;
using testing::FakeDocumentView;
using testing::ScriptedPrompts;


class DocumentImagesTest : public ::testing::Test {
 protected:
  DocumentImagesTest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::path(::testing::TempDir()) /
              (std::string("mapvine_commands_") + info->test_suite_name() + "_" + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~DocumentImagesTest() override { fs::remove_all(folder_); }

  // An 8-bit bitmap file whose pixels depend on the position and `seed`.
  std::string WriteBitmap(const std::string& name, int width, int height, int seed = 0) {
    CDIB image;
    EXPECT_TRUE(image.Create(width, height));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        *image.PixelPtr(x, y) = static_cast<std::uint8_t>(1 + (x + 3 * y + seed) % 250);
      }
    }
    const std::string path = PathOf(name);
    EXPECT_TRUE(image.Save(path));
    return path;
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::string WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  CNode& AddNode(const std::string& label, int kind = NetworkNode) {
    d.doc.NewNode(label, "NETA." + label, kind, nullptr, nullptr);
    return *d.doc.FindNode(label);
  }

  // The node shows working image `slot` and says so.
  void ExpectShows(const CNode& node, int slot) {
    ASSERT_LT(slot, static_cast<int>(d.doc.workingImages.size()));
    EXPECT_EQ(node.imageIndex, slot);
    EXPECT_TRUE(node.SharesStorageWith(*d.doc.workingImages[slot])) << "slot " << slot;
  }

  ScriptedPrompts prompts;
  DocumentWithView d;

 private:
  fs::path folder_;
};

TEST_F(DocumentImagesTest, TheSameBitmapTwiceTakesOneSlot) {
  const std::string first = WriteBitmap("first.bmp", 24, 20);
  const std::string copy = WriteBitmap("copy.bmp", 24, 20);
  const std::string other = WriteBitmap("other.bmp", 24, 20, 7);
  const std::size_t standard = d.doc.images.size();

  EXPECT_EQ(d.doc.AddUserImage(first), static_cast<int>(standard));
  EXPECT_EQ(d.doc.AddUserImage(copy), static_cast<int>(standard));
  prompts.fileNames.push_back(first);  // chosen again in the dialog
  EXPECT_EQ(d.doc.AddUserImage(), static_cast<int>(standard));
  EXPECT_EQ(prompts.filters, std::vector<std::string>{std::string(CDIB::kFileFilter)});
  EXPECT_EQ(d.doc.AddUserImage(other), static_cast<int>(standard) + 1);

  EXPECT_EQ(d.doc.images.size(), standard + 2);
  EXPECT_EQ(d.doc.palettes.size(), standard + 2);
  EXPECT_EQ(d.doc.workingImages.size(), standard + 2);
  EXPECT_TRUE(d.doc.IsModified());
}

TEST_F(DocumentImagesTest, TheBackgroundBitmapChosenAsAnIconGetsASlotOfItsOwn) {
  prompts.yes = true;
  ASSERT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("picture.bmp", 600, 400)));
  // A file holding exactly the background slot's image.
  const std::string exported = PathOf("slot0.bmp");
  ASSERT_TRUE(d.doc.images[kBackgroundSlot]->Save(exported));
  CDIB reread;
  ASSERT_TRUE(reread.Load(exported));
  ASSERT_TRUE(reread.IsSameImage(*d.doc.images[kBackgroundSlot]));

  const int slot = d.doc.AddUserImage(exported);
  EXPECT_GE(slot, kStandardImageCount);

  // A later background leaves the icon as it was.
  ASSERT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("next.bmp", 700, 500, 3)));
  EXPECT_EQ(d.doc.workingImages[slot]->GetWidth(), 600);
}

TEST_F(DocumentImagesTest, EveryNodeShowsTheNewWorkingImagesAfterASlotIsAdded) {
  CNode& standard = AddNode("STD", EndNode);
  CNode& custom = AddNode("CUST");
  d.doc.SetCustomIcon(custom, CustomIconRole::Both, WriteBitmap("a.bmp", 40, 30));
  const int customSlot = custom.imageIndex;

  d.doc.AddUserImage(WriteBitmap("b.bmp", 40, 30, 9));
  ExpectShows(standard, EndNode);
  ExpectShows(custom, customSlot);
  EXPECT_GT(d.view.fullRedraws, 0);
}

struct CustomRoleCase {
  CustomIconRole role;
  ResourceStatus status;
  bool showsCustom;
  bool customIsActive;
  bool customIsInactive;
};

TEST_F(DocumentImagesTest, CustomIconsTakeTheirRoleAndShowWhenTheStatusCallsForThem) {
  const CustomRoleCase cases[] = {
      {CustomIconRole::Active, ResourceStatus::Active, true, true, false},
      {CustomIconRole::Active, ResourceStatus::Inactive, false, true, false},
      {CustomIconRole::Inactive, ResourceStatus::Active, false, false, true},
      {CustomIconRole::Inactive, ResourceStatus::Inactive, true, false, true},
      {CustomIconRole::Both, ResourceStatus::Active, true, true, true},
      {CustomIconRole::Both, ResourceStatus::Inactive, true, true, true},
  };
  const std::string path = WriteBitmap("icon.bmp", 32, 32);
  int n = 0;
  for (const CustomRoleCase& c : cases) {
    SCOPED_TRACE(n);
    CNode& node = AddNode("N" + std::to_string(n++));
    node.status = c.status;
    d.doc.ApplyStatusImage(node);
    const int shownBefore = node.imageIndex;
    const int changesBefore = d.view.nodeChanges;
    d.doc.SetModified(false);

    d.doc.SetCustomIcon(node, c.role, path);
    const int custom = kStandardImageCount;  // every case reuses the first custom slot
    ExpectShows(node, c.showsCustom ? custom : shownBefore);
    EXPECT_EQ(node.activeImage, c.customIsActive ? custom : NetworkNode);
    EXPECT_EQ(node.inactiveImage, c.customIsInactive ? custom : NetworkNode + kInactiveOffset);
    EXPECT_TRUE(d.doc.IsModified());
    EXPECT_EQ(d.view.nodeChanges, changesBefore + 1);

    // The other status shows the other icon.
    node.status = StatusFor(!IsActive(c.status));
    d.doc.ApplyStatusImage(node);
    ExpectShows(node, IsActive(node.status) ? node.activeImage : node.inactiveImage);
  }
  EXPECT_EQ(d.doc.images.size(), static_cast<std::size_t>(kStandardImageCount) + 1);
}

struct Family {
  int active;
  int inactive;
};

TEST_F(DocumentImagesTest, StandardIconsFollowTheStatus) {
  const Family families[] = {{kHostSlot, kHostSlot + kInactiveOffset},
                             {EndNode, EndNode + kInactiveOffset},
                             {NetworkNode, NetworkNode + kInactiveOffset}};
  int n = 0;
  for (const Family& f : families) {
    SCOPED_TRACE(f.active);
    CNode& node = AddNode("S" + std::to_string(n++), ConnectionNetwork);
    node.status = ResourceStatus::Inactive;
    d.doc.ApplyStatusImage(node);
    d.doc.SetModified(false);
    const int changesBefore = d.view.nodeChanges;

    d.doc.SetStandardIcon(node, f.active, f.inactive);
    ExpectShows(node, f.inactive);
    EXPECT_EQ(node.activeImage, f.active);
    EXPECT_EQ(node.inactiveImage, f.inactive);
    EXPECT_TRUE(d.doc.IsModified());
    EXPECT_EQ(d.view.nodeChanges, changesBefore + 1);

    node.status = ResourceStatus::Active;
    d.doc.ApplyStatusImage(node);
    ExpectShows(node, f.active);
  }
}

TEST_F(DocumentImagesTest, LinkEndsFollowTheCentreOfAnIconOfAnotherSize) {
  CNode& a = AddNode("A");
  CNode& b = AddNode("B");
  d.doc.SetCustomIcon(a, CustomIconRole::Both, WriteBitmap("wide.bmp", 80, 32));
  d.doc.NewLink(a, b);
  d.doc.NewLink(a, a);  // a loop moves both of its ends
  const CLink& toB = **d.doc.Links().begin();
  const CLink& loop = **std::next(d.doc.Links().begin());
  const Point bCentre = b.GetCenter();
  const Point corner{a.GetX(), a.GetY()};
  const Point wideCentre = a.GetCenter();

  d.doc.SetCustomIcon(a, CustomIconRole::Both, WriteBitmap("square.bmp", 32, 32));
  const Point squareCentre = a.GetCenter();
  EXPECT_EQ(squareCentre.x, wideCentre.x - 24);
  EXPECT_EQ((Point{a.GetX(), a.GetY()}), corner);
  EXPECT_EQ((Point{toB.x1, toB.y1}), squareCentre);
  EXPECT_EQ((Point{toB.x2, toB.y2}), bCentre);
  EXPECT_EQ((Point{loop.x1, loop.y1}), squareCentre);
  EXPECT_EQ((Point{loop.x2, loop.y2}), squareCentre);
  EXPECT_TRUE(toB.bounds.Contains(squareCentre));
  EXPECT_TRUE(toB.bounds.Contains(bCentre));

  // Back to a standard family: the ends still meet the centre.
  d.doc.SetStandardIcon(a, kHostSlot, kHostSlot + kInactiveOffset);
  EXPECT_EQ((Point{toB.x1, toB.y1}), a.GetCenter());
  EXPECT_EQ((Point{loop.x2, loop.y2}), a.GetCenter());
}

// The canvas starts at 400 x 300 in every background case.
class NewBackgroundTest : public DocumentImagesTest {
 protected:
  NewBackgroundTest() {
    prompts.yes = true;  // whatever size the new document started with
    EXPECT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("start.bmp", 400, 300)));
    prompts.yes = false;
    prompts.questions.clear();
  }
};

TEST_F(NewBackgroundTest, ALargerImageIsComposedAtItsOwnSizeWithoutAQuestion) {
  d.doc.SetModified(false);
  const int redraws = d.view.fullRedraws;
  EXPECT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("large.bmp", 640, 480)));
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(d.doc.picture.composedWidth, 640);
  EXPECT_EQ(d.doc.picture.composedHeight, 480);
  EXPECT_EQ(d.doc.picture.pictureWidth, 0);
  EXPECT_FALSE(d.view.InBatch());
  EXPECT_EQ(d.view.BufferRect().right, 640);
  EXPECT_GT(d.view.fullRedraws, redraws);
  EXPECT_TRUE(d.doc.IsModified());
}

// The question comes before anything changes, so the window still paints
// behind it; the change itself is one batch.
TEST_F(NewBackgroundTest, TheResizeQuestionComesWhileTheWindowPaints) {
  struct Watching final : UserPrompts {
    explicit Watching(const FakeDocumentView& view) : view(view), previous(InstallPrompts(this)) {}
    ~Watching() override { InstallPrompts(previous); }
    void ShowMessage(std::string_view) override {}
    void ShowWarning(std::string_view) override {}
    bool AskYesNo(std::string_view) override {
      paintingWhenAsked.push_back(view.InBatch());
      return false;
    }
    std::optional<std::string> AskOpenFileName(std::string_view) override { return std::nullopt; }
    std::optional<std::string> AskSaveFileName(std::string_view) override { return std::nullopt; }
    const FakeDocumentView& view;
    UserPrompts* previous;
    std::vector<bool> paintingWhenAsked;
  } watching(d.view);
  d.view.nodesAtBatchAnnouncements.clear();
  EXPECT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("small.bmp", 100, 80)));
  EXPECT_EQ(watching.paintingWhenAsked, std::vector<bool>{false});
  EXPECT_EQ(d.view.nodesAtBatchAnnouncements.size(), 2u);
  EXPECT_FALSE(d.view.InBatch());
}

struct SmallerCase {
  BackgroundArrangement arrangement;
  int imageWidth, imageHeight;
};

TEST_F(NewBackgroundTest, AnsweringNoKeepsTheCanvasAndLaysTheImageOutInTheCurrentStyle) {
  constexpr auto kTile = BackgroundArrangement::Tile, kCentre = BackgroundArrangement::Centre;
  const SmallerCase cases[] = {
      {kTile, 150, 120}, {kCentre, 150, 120}, {kTile, 500, 100}, {kCentre, 100, 500}};
  prompts.yes = false;
  for (const SmallerCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.arrangement) * 10000 + c.imageWidth);
    d.view.arrangement = c.arrangement;
    prompts.questions.clear();
    EXPECT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("small.bmp", c.imageWidth, c.imageHeight)));
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"Resize window to fit smaller background?"});
    ASSERT_EQ(d.doc.picture.composedWidth, 400);
    ASSERT_EQ(d.doc.picture.composedHeight, 300);

    const CDIB& source = *d.doc.backgroundSource;
    const ComposedBackground& canvas = *d.doc.composedBackground;
    ASSERT_EQ(source.GetWidth(), c.imageWidth);
    const int sw = c.imageWidth, sh = c.imageHeight;
    for (Point p : {Point{0, 0}, Point{199, 149}, Point{260, 140}, Point{399, 299}}) {
      if (c.arrangement == BackgroundArrangement::Tile) {
        EXPECT_EQ(canvas.PixelAt(p.x, p.y), *source.PixelPtr(p.x % sw, p.y % sh));
      } else {
        // Centred: canvas point p shows the source point at the same offset
        // from the middle, when the source reaches that far.
        const int sx = p.x - 200 + sw / 2, sy = p.y - 150 + sh / 2;
        if (sx >= 0 && sx < sw && sy >= 0 && sy < sh) {
          EXPECT_EQ(canvas.PixelAt(p.x, p.y), *source.PixelPtr(sx, sy)) << p.x << "," << p.y;
        }
      }
    }
  }
}

TEST_F(NewBackgroundTest, AnsweringYesTakesTheImagesSize) {
  prompts.yes = true;
  EXPECT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("small.bmp", 250, 220)));
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(d.doc.picture.composedWidth, 250);
  EXPECT_EQ(d.doc.picture.composedHeight, 220);
  EXPECT_EQ(d.doc.picture.pictureWidth, 0);
}

TEST_F(NewBackgroundTest, ANewBackgroundRestartsTheGridWalkBesideTheOldColumns) {
  d.doc.placement.pictureGrown = true;
  d.doc.placement.columnMode = true;
  EXPECT_TRUE(d.doc.NewBackgroundImage(WriteBitmap("large.bmp", 640, 480)));
  EXPECT_FALSE(d.doc.placement.pictureGrown);
  EXPECT_FALSE(d.doc.placement.columnMode);
}

// Cancelled dialogs and refused bitmaps: no command changes anything.
class RefusedFileTest : public DocumentImagesTest {
 protected:
  struct Snapshot {
    std::size_t images;
    const ComposedBackground* background;
    int width, height;
    int imageIndex, activeImage, inactiveImage;
    int nodeChanges;
  };
  Snapshot Take(const CNode& node) const {
    return {d.doc.images.size(), d.doc.composedBackground.get(), d.doc.picture.composedWidth,
            d.doc.picture.composedHeight, node.imageIndex, node.activeImage, node.inactiveImage,
            d.view.nodeChanges};
  }
  void ExpectUnchanged(const Snapshot& before, const CNode& node) const {
    const Snapshot after = Take(node);
    EXPECT_EQ(after.images, before.images);
    EXPECT_EQ(after.background, before.background);
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
    EXPECT_EQ(after.imageIndex, before.imageIndex);
    EXPECT_EQ(after.activeImage, before.activeImage);
    EXPECT_EQ(after.inactiveImage, before.inactiveImage);
    EXPECT_EQ(after.nodeChanges, before.nodeChanges);
    EXPECT_FALSE(d.doc.IsModified());
  }

  // Runs each command once with the open dialog answering `answer`.
  void RunEveryCommand(CNode& node, const std::optional<std::string>& answer) {
    for (int command = 0; command < 4; ++command) {
      SCOPED_TRACE(command);
      const Snapshot before = Take(node);
      prompts.fileNames.push_back(answer);
      switch (command) {
        case 0:
          EXPECT_FALSE(d.doc.NewBackgroundImage());
          break;
        case 1:
          EXPECT_EQ(d.doc.AddUserImage(), -1);
          break;
        case 2:
          d.doc.SetCustomIcon(node, CustomIconRole::Both);
          break;
        default:
          d.doc.SetCustomIcon(node, CustomIconRole::Inactive);
          break;
      }
      ExpectUnchanged(before, node);
    }
  }
};

TEST_F(RefusedFileTest, ACancelledDialogChangesNothing) {
  CNode& node = AddNode("N");
  d.doc.SetModified(false);
  RunEveryCommand(node, std::nullopt);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(prompts.warnings.empty());
}

TEST_F(RefusedFileTest, BitmapsThatAreNot8BitAreRefusedWithAWarningNamingThem) {
  CNode& node = AddNode("N");
  for (std::uint16_t bits : {std::uint16_t{4}, std::uint16_t{24}}) {
    SCOPED_TRACE(bits);
    dibtest::BmpDescription description;
    description.width = 40;
    description.height = 40;
    description.bitCount = bits;
    const std::string path =
        WriteBytes("depth" + std::to_string(bits) + ".bmp", dibtest::EncodeBmp(description));
    prompts.warnings.clear();
    d.doc.SetModified(false);
    RunEveryCommand(node, path);
    EXPECT_EQ(prompts.warnings, std::vector<std::string>(4, "Cannot use the image \"" + path + "\".\n" +
                                                                std::string(CDIB::kOnly256Colors)));
  }
}

TEST_F(RefusedFileTest, AMissingFileChangesNothingAndIsNamedInAWarning) {
  CNode& node = AddNode("N");
  d.doc.SetModified(false);
  const std::string path = "/nonexistent/mapvine/icon.bmp";
  RunEveryCommand(node, path);
  ASSERT_EQ(prompts.warnings.size(), 4u);
  for (const std::string& warning : prompts.warnings) EXPECT_NE(warning.find(path), std::string::npos) << warning;
}

}  // namespace
}  // namespace mapvine
