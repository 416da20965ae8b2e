#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include <functional>

#include "model/DocumentEdit.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

struct Refreshed : testing::RunningApp {
  Refreshed() {
    Refresh();
    Frame().Edits().Clear();
  }
  CSprite& Node(const char* name) {
    CSprite* node = Doc().FindNode(name);
    EXPECT_NE(node, nullptr) << name;
    return *node;
  }
  // Right click on the node and choose `id` from its menu.
  void OnNode(const char* name, int id) {
    const std::unique_ptr<QMenu> menu = View().BuildContextMenu(Node(name).GetCenter());
    for (QAction* action : menu->findChildren<QAction*>()) {
      if (action->data().toInt() == id) return action->trigger();
    }
    ADD_FAILURE() << "no item " << id;
  }
  // What the view does around a drag or a finished link.
  void ByMouse(const std::function<void()>& change) {
    emit View().EditBegins();
    change();
    emit View().EditEnds("Move");
  }
  DocumentSnapshot State() { return EditBaseline(Doc(), true).Keyed(); }
};

TEST(Undo, EveryEditGoesBackAndForth) {
  const struct {
    const char* name;
    std::function<void(Refreshed&)> prepare;  // before the state to return to
    std::function<void(Refreshed&)> edit;
  } edits[] = {
      {"move", {}, [](Refreshed& r) { r.ByMouse([&] { r.Node("NN1").SetPosition(400, 300); }); }},
      {"tile", [](Refreshed& r) { r.Node("NN2").SetPosition(500, 20); },
       [](Refreshed& r) { r.Frame().Route(command::kTileNodes); }},
      {"delete", {}, [](Refreshed& r) { r.OnNode("EN1", command::kDelete); }},
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
      {"link", {}, [](Refreshed& r) { r.ByMouse([&] { r.Doc().NewLink(r.Node("NN1"), r.Node("EN1")); }); }},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.name);
    Refreshed r;
    if (e.prepare) e.prepare(r);
    const DocumentSnapshot before = r.State();
    e.edit(r);
    const DocumentSnapshot after = r.State();
    ASSERT_NE(before, after);
    ASSERT_TRUE(r.Frame().ActionFor(command::kEditUndo)->isEnabled());
    r.Frame().Route(command::kEditUndo);
    EXPECT_EQ(r.State(), before);
    r.Frame().Route(command::kEditRedo);
    EXPECT_EQ(r.State(), after);
  }
}

TEST(Undo, ARefreshBetweenLeavesEditsThatStillApply) {
  Refreshed r;
  const DocumentSnapshot start = r.State();
  const Point home{r.Node("NN1").GetX(), r.Node("NN1").GetY()};
  r.ByMouse([&] { r.Node("NN1").SetPosition(home.x + 90, home.y + 40); });
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

}  // namespace
}  // namespace mapvine
