#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include "base/ByteSink.h"
#include "tests/support/PictureState.h"
#include "model/SavedTopology.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"
#include "dialogs/ModalDialog.h"

namespace mapvine {
namespace {

struct Refreshed : testing::RunningApp {
  Refreshed() {
    Refresh();
    Frame().Edits().Clear();
  }
  CNode& Node(const char* name) {
    CNode* node = Doc().FindNode(name);
    EXPECT_NE(node, nullptr) << name;
    return *node;
  }
  // Right click on the node and choose `id` from its menu.
  void OnNode(const char* name, int id) {
    const std::unique_ptr<QMenu> menu = View().Menus().Build(Node(name).GetCenter());
    for (QAction* action : menu->findChildren<QAction*>()) {
      if (action->data().toInt() == id) return action->trigger();
    }
    ADD_FAILURE() << "no item " << id;
  }
  // What the view does around a drag or a finished link.
  void ByMouse(const std::function<void()>& change) {
    emit View().Signals().EditBegins();
    change();
    emit View().Signals().EditEnds("Move");
  }
  // A drag: the press tells the picture which node is about to move.
  void Drag(const char* name, int x, int y) {
    ByMouse([&] {
      Doc().NodeChanging(Node(name));
      Node(name).SetPosition(x, y);
    });
  }
  testing::PictureState State() { return testing::StateOfPicture(Doc()); }
  // The picture as a save writes it: whatever an undo left out shows.
  std::vector<std::uint8_t> Saved() {
    VectorSink sink;
    EXPECT_TRUE(StoreTopology(Doc(), sink));
    return sink.Take();
  }
};

TEST(Undo, EveryEditGoesBackAndForth) {
  const struct {
    const char* name;
    std::function<void(Refreshed&)> prepare;  // before the state to return to
    std::function<void(Refreshed&)> edit;
    // An undone delete brings its node and links back, but not to their
    // old places in the lists (and so in the file).
    bool keepsOrder = true;
  } edits[] = {
      {"move", {}, [](Refreshed& r) { r.Drag("NN1", 400, 300); }},
      {"tile", [](Refreshed& r) { r.Node("NN2").SetPosition(500, 20); },
       [](Refreshed& r) { r.Frame().Route(command::kTileNodes); }},
      {"delete", {}, [](Refreshed& r) { r.OnNode("EN1", command::kDelete); }, false},
      {"hide", {}, [](Refreshed& r) { r.OnNode("NN3", command::kHide); }},
      {"hide all", {}, [](Refreshed& r) { r.Frame().Route(command::kHideAllLogicalUnits); }},
      {"icon", {}, [](Refreshed& r) { r.OnNode("EN1", command::kIconHost); }},
      {"rename and status", {}, [](Refreshed& r) {
         r.ByMouse([&] {
           r.Doc().RenameNode(r.Node("NN2"), "HUB");
           r.Node("NN2").status = ResourceStatus::Inactive;
           r.Doc().ApplyStatusImage(r.Node("NN2"));
         });
       }},
      {"background", {}, [](Refreshed& r) {
         r.Prompts().fileNames.push_back(MAPVINE_SOURCE_DIR "/resources/EN.BMP");
         r.Frame().Route(command::kNewBackgroundImage);
       }},
      {"resize", {}, [](Refreshed& r) {
         r.Frame().Edits().Begin(true);  // as the Resize command does around its dialog
         r.Doc().ComposeBackground(nullptr, r.Doc().picture.backgroundMode, 1500, 1200);
         r.Frame().Edits().End("Resize");
         r.Frame().UpdateCommandStates();
       }},
      {"add node", {}, [](Refreshed& r) { r.Frame().Route(command::kManualAddNode); }},
      {"pin", {}, [](Refreshed& r) { r.OnNode("NN1", command::kPinNode); }},
      {"fold", {}, [](Refreshed& r) { r.OnNode("EN1", command::kFoldLus); }},
      {"link", {}, [](Refreshed& r) { r.ByMouse([&] { r.Doc().NewLink(r.Node("NN1"), r.Node("EN1")); }); }},
      {"arrange", {}, [](Refreshed& r) {
         // The layout runs on a worker; the window keeps handling events
         // until the positions come back as one edit.
         r.Frame().Route(command::kArrangeByConnections);
         QElapsedTimer waited;
         waited.start();
         while (!r.Frame().Edits().Stack().canUndo() && waited.elapsed() < 60000) {
           QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
         }
         EXPECT_EQ(r.Frame().ActionFor(command::kEditUndo)->text(), "&Undo Arrange by Connections");
       }},
      {"neighbourhood", {}, [](Refreshed& r) {
         const DialogDriver before = InstallDialogDriver([](QDialog& dialog) {
           static_cast<QInputDialog&>(dialog).setIntValue(1);
           return int(QDialog::Accepted);
         });
         r.OnNode("EN1", command::kShowNeighbourhood);
         InstallDialogDriver(before);
         EXPECT_EQ(r.Status(), "Showing 5 of 36 nodes within 1 hop of EN1");
       }},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.name);
    Refreshed r;
    if (e.prepare) e.prepare(r);
    // What a refresh marked comes back with what an undo brings back.
    r.Node("EN1").changeMark = ChangeMark::WentInactive;
    const std::vector<std::uint8_t> before = r.Saved();
    const testing::PictureState stateBefore = r.State();
    e.edit(r);
    const std::vector<std::uint8_t> after = r.Saved();
    ASSERT_NE(before, after);
    ASSERT_TRUE(r.Frame().ActionFor(command::kEditUndo)->isEnabled());
    r.Frame().Route(command::kEditUndo);
    if (e.keepsOrder) {
      EXPECT_EQ(r.Saved(), before);
    } else {
      EXPECT_EQ(r.State(), stateBefore);
    }
    EXPECT_EQ(r.Node("EN1").changeMark, ChangeMark::WentInactive);
    r.Frame().Route(command::kEditRedo);
    EXPECT_EQ(r.Saved(), after);
  }
}

// Back at the picture as saved, it is not modified, unless a refresh (which
// the history does not record) changed it since the save.
TEST(Undo, BackToTheSavedPictureIsNotModifiedUnlessARefreshChangedIt) {
  const struct {
    const char* name;
    bool refreshAfterSave;
    int undos;  // after two edits
    bool modified;
  } cases[] = {
      {"undo both", false, 2, true},  // before the save: modified
      {"undo one", false, 1, false},
      {"refresh, undo one", true, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Refreshed r;
    QTemporaryDir folder;
    r.OnNode("NN3", command::kHide);
    ASSERT_TRUE(r.app.Commands().SaveTo(folder.filePath("saved.top")));
    r.Frame().UpdateCommandStates();
    EXPECT_FALSE(r.Frame().isWindowModified());
    if (c.refreshAfterSave) {
      r.node = testing::NodeServing(std::string(snanode::SampleNetworkText()) + "nn NETA.NN99\n");
      r.Refresh();
    }
    r.OnNode("NN2", command::kHide);
    EXPECT_TRUE(r.Frame().isWindowModified());
    for (int i = 0; i < c.undos; ++i) r.Frame().Route(command::kEditUndo);
    EXPECT_EQ(r.Doc().IsModified(), c.modified);
    EXPECT_EQ(r.Frame().isWindowModified(), c.modified);
  }
}

TEST(Undo, ARefreshBetweenLeavesEditsThatStillApply) {
  Refreshed r;
  const testing::PictureState start = r.State();
  const Point home{r.Node("NN1").GetX(), r.Node("NN1").GetY()};
  r.Drag("NN1", home.x + 90, home.y + 40);
  r.OnNode("EN1", command::kDelete);
  ASSERT_EQ(r.Doc().FindNode("EN1"), nullptr);
  EXPECT_TRUE(r.Frame().isWindowModified());

  r.Refresh();  // brings EN1 back
  const std::size_t count = r.Doc().Nodes().size();
  ASSERT_NE(r.Doc().FindNode("EN1"), nullptr);
  EXPECT_EQ(r.Frame().ActionFor(command::kEditUndo)->text(), "&Undo Delete");

  r.Frame().Route(command::kEditUndo);  // EN1 is there already: nothing to bring back
  EXPECT_EQ(r.Doc().Nodes().size(), count);
  r.Frame().Route(command::kEditUndo);
  EXPECT_EQ(r.Node("NN1").GetX(), home.x);
  EXPECT_EQ(r.Node("NN1").GetY(), home.y);
  EXPECT_EQ(r.State().nodes.at("NN2"), start.nodes.at("NN2"));

  r.Frame().Route(command::kEditRedo);
  r.Frame().Route(command::kEditRedo);
  EXPECT_EQ(r.Node("NN1").GetX(), home.x + 90);
  EXPECT_EQ(r.Doc().FindNode("EN1"), nullptr);
  EXPECT_EQ(r.Doc().Nodes().size(), count - 1);
}

TEST(Arrange, StopLeavesThePictureAndTheHistoryAsTheyWere) {
  Refreshed r;
  const testing::PictureState before = r.State();
  r.Frame().Route(command::kArrangeByConnections);
  EXPECT_TRUE(r.Frame().Progress().StopButton().isVisibleTo(r.Frame().statusBar()));
  EXPECT_FALSE(r.Frame().ActionFor(command::kArrangeByConnections)->isEnabled()) << "one at a time";
  r.Frame().Progress().StopButton().click();
  QElapsedTimer waited;
  waited.start();
  while (r.Frame().Progress().Running() && waited.elapsed() < 60000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  EXPECT_EQ(r.State(), before);
  EXPECT_FALSE(r.Frame().Edits().Stack().canUndo());
  EXPECT_EQ(r.Status(), "Arrange stopped; the picture is unchanged");
  EXPECT_TRUE(r.Frame().ActionFor(command::kArrangeByConnections)->isEnabled());
}

}  // namespace
}  // namespace mapvine
