#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "protocol/SnaNames.h"
#include "tests/view/DetailDialogSupport.h"
#include "tests/view/InteractionSupport.h"
#include "dialogs/LinkDetailDialogs.h"
#include "dialogs/NodeDetailDialogs.h"

namespace mapvine {
namespace {

using namespace viewtest;
using dialogtest::PressCancel;
using dialogtest::PressOk;

// A shown picture whose detail dialogs are worked by `answer` instead of a
// user: it gets each open dialog, may edit its boxes, and presses a button
// (a dialog it leaves open is cancelled).
struct DetailWindow : InteractiveWindow {
  std::function<void(CDetailDialog&)> answer;
  std::vector<std::string> opened;  // class of each dialog run
  dialogtest::DialogScript script{[this](QDialog& dialog) {
    auto& detail = dynamic_cast<CDetailDialog&>(dialog);
    opened.push_back(typeid(detail).name());
    if (answer) answer(detail);
  }};

  // Types into the box with `id`, then presses OK.
  void AnswerOk(int id, const char* text) {
    answer = [id, text](CDetailDialog& dialog) {
      dialog.Box(id)->setText(text);
      PressOk(dialog);
    };
  }

  void ChooseDetails(const CNode& node) { Choose(BodyOf(node), command::kDetails); }
  void ChooseDetails(const CLink& link) {
    Choose({(link.x1 + link.x2) / 2, (link.y1 + link.y2) / 2}, command::kDetails);
  }

  // A manually added end node showing the square icons: the body of the
  // active one, kOtherBody for the inactive one.
  CNode& AddManualEndNode(int x, int y) {
    doc.workingImages[EndNode] = SquareIcons::Make(kBody);
    doc.workingImages[EndNode + kInactiveOffset] = SquareIcons::Make(kOtherBody);
    doc.ManualAddNode();
    CNode* added = nullptr;
    for (const auto& node : doc.Nodes()) {
      if (node->nodeType == EndNode) added = node.get();
    }
    added->SetPosition(x, y);
    view.PictureChanged();
    return *added;
  }

  std::uint8_t PixelAt(Point at) { return *Buffer().PixelPtr(at.x, at.y); }
};

template <typename Dialog>
std::string NameOf() {
  return typeid(Dialog).name();
}

TEST(DetailCommand, EnabledOnNodeAndLinkMenus) {
  DetailWindow w;
  CNode& a = w.AddSquareNode("NN1", 60, 60);
  CNode& b = w.AddSquareNode("NN2", 300, 60);
  w.doc.NewLink(a, b);
  for (Point at : {DetailWindow::BodyOf(a), Point{200, 76}}) {
    const std::unique_ptr<QMenu> menu = w.view.Menus().Build(at);
    QAction* action = DetailWindow::FindAction(*menu, command::kDetails);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
  }
  EXPECT_TRUE(w.commands.StateOf(command::kDetails)->enabled);
}

TEST(DetailCommand, RecordsChooseTheDialog) {
  DetailWindow w;
  CNode& plain = w.AddSquareNode("NN1", 60, 60);
  CNode& reported = w.AddSquareNode("NN2", 300, 60);
  CNode& lu = w.AddSquareNode("LU1", 60, 250);
  CNode& endNode = w.AddSquareNode("EN1", 300, 250);
  NodeRecordBytes nodeRecord{};
  EncodeName("NETA.NN2", std::span(nodeRecord).subspan(2, 17));
  reported.nodeRecord = std::make_unique<NodeRecordBytes>(nodeRecord);
  lu.directoryRecord = std::make_unique<DirectoryRecordBytes>();
  endNode.nodeRecord = std::make_unique<NodeRecordBytes>();
  endNode.directoryRecord = std::make_unique<DirectoryRecordBytes>();
  w.doc.NewLink(plain, reported);
  CLink& tg = **w.doc.Links().begin();
  w.doc.NewLink(lu, endNode);
  CLink& handDrawn = *w.doc.Links().begin()[1];
  tg.tgRecord = std::make_unique<TgRecordBytes>();

  std::vector<QString> names;
  w.answer = [&names](CDetailDialog& dialog) { names.push_back(BoxText(dialog, 1011)); };
  w.ChooseDetails(plain);
  w.ChooseDetails(reported);
  w.ChooseDetails(lu);
  w.ChooseDetails(endNode);
  w.ChooseDetails(tg);
  w.ChooseDetails(handDrawn);
  EXPECT_EQ(w.opened, (std::vector<std::string>{
                          NameOf<CNodeDetailDialog>(), NameOf<CNodeDetailDialog>(),
                          NameOf<CDirectoryDetailDialog>(), NameOf<CNodeDetailDialog>(),
                          NameOf<CTgDetailDialog>(), NameOf<CLinkDetailDialog>()}));
  // Without a record the node's label shows, with one the record's name.
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "NN1");
  EXPECT_EQ(names[1], "NETA.NN2");
}

TEST(DetailCommand, ManualNodeShowsTheFixedValues) {
  DetailWindow w;
  CNode& node = w.AddManualEndNode(60, 60);
  std::vector<QString> shown;
  w.answer = [&shown](CDetailDialog& dialog) {
    for (int id : {1011, 1012, 1014, 1015, 1017, 1020, 1016, 1018}) {
      shown.push_back(BoxText(dialog, id));
    }
  };
  w.ChooseDetails(node);
  EXPECT_EQ(shown, (std::vector<QString>{QString::fromStdString(node.label), "End Node", "Active",
                                         "12", "512", "1256", "128", "ISR,RTP Tower"}));
  EXPECT_TRUE(node.label.starts_with("ENNODE"));
}

TEST(DetailCommand, OnlyAPlainNameRenames) {
  DetailWindow w;
  CNode& node = w.AddSquareNode("NN1", 60, 60);
  w.doc.SetModified(false);

  w.AnswerOk(CNodeDetailDialog::kNameBox, "NETA.NN9");
  w.ChooseDetails(node);
  EXPECT_EQ(node.label, "NN1");
  EXPECT_FALSE(w.doc.IsModified());

  w.view.Zooming().SetZoom(1.0);
  const QImage named = w.Shown();
  w.AnswerOk(CNodeDetailDialog::kNameBox, "HOST9");
  w.ChooseDetails(node);
  EXPECT_EQ(node.label, "HOST9");
  EXPECT_EQ(w.doc.FindNode("NN1"), &node);  // as the network still names it
  EXPECT_TRUE(w.doc.IsModified());
  EXPECT_NE(w.Shown(), named);  // the new label is drawn
}

TEST(DetailCommand, InactiveManualEndNodeTurnsItAndItsLinksRed) {
  DetailWindow w;
  CNode& endNode = w.AddManualEndNode(60, 60);
  CNode& other = w.AddSquareNode("NN1", 300, 60);
  w.doc.NewLink(endNode, other);
  CLink& link = **w.doc.Links().begin();
  link.status = ResourceStatus::Active;
  w.view.PictureChanged();
  const Point onLine{(link.x1 + link.x2) / 2, link.y1};
  ASSERT_EQ(w.PixelAt(onLine), w.IndexOf(kGreen));
  ASSERT_EQ(w.PixelAt(DetailWindow::BodyOf(endNode)), w.IndexOf(kWhite));
  w.doc.SetModified(false);

  w.AnswerOk(CNodeDetailDialog::kStatusBox, "Inactive");
  w.ChooseDetails(endNode);
  EXPECT_EQ(endNode.status, ResourceStatus::Inactive);
  EXPECT_EQ(link.status, ResourceStatus::Inactive);
  EXPECT_EQ(endNode.imageIndex, EndNode + kInactiveOffset);
  EXPECT_EQ(w.PixelAt(DetailWindow::BodyOf(endNode)), w.IndexOf(kRed));
  EXPECT_EQ(w.PixelAt(onLine), w.IndexOf(kRed));
  EXPECT_EQ(other.status, ResourceStatus::Active);
  EXPECT_TRUE(w.doc.IsModified());
}

TEST(DetailCommand, LinkStatusWordRedrawsTheLine) {
  DetailWindow w;
  CNode& a = w.AddSquareNode("NN1", 60, 60);
  CNode& b = w.AddSquareNode("NN2", 300, 60);
  w.doc.NewLink(a, b);
  CLink& link = **w.doc.Links().begin();
  link.tgRecord = std::make_unique<TgRecordBytes>();
  w.view.PictureChanged();
  const Point onLine{(link.x1 + link.x2) / 2, link.y1};
  ASSERT_EQ(w.PixelAt(onLine), w.IndexOf(kRed));
  w.doc.SetModified(false);

  QString statusShown;
  w.answer = [&statusShown](CDetailDialog& dialog) {
    statusShown = BoxText(dialog, CTgDetailDialog::kStatusBox);
    dialog.Box(CTgDetailDialog::kStatusBox)->setText("Active");
    PressOk(dialog);
  };
  w.ChooseDetails(link);
  EXPECT_EQ(statusShown, "Unknown");
  EXPECT_EQ(link.status, ResourceStatus::Active);
  EXPECT_EQ(w.PixelAt(onLine), w.IndexOf(kGreen));
  EXPECT_TRUE(w.doc.IsModified());
  // The ends keep their own status.
  EXPECT_EQ(a.status, ResourceStatus::Active);
  EXPECT_EQ(b.status, ResourceStatus::Active);
}

TEST(DetailCommand, RefusedLongNameKeepsTheDialogOpenAndCancelChangesNothing) {
  testing::ScriptedPrompts prompts;
  DetailWindow w;
  CNode& a = w.AddSquareNode("NETWORKNODE01", 60, 60);
  CNode& b = w.AddSquareNode("NETWORKNODE02", 300, 60);
  w.doc.NewLink(a, b);
  CLink& link = **w.doc.Links().begin();
  link.status = ResourceStatus::Active;
  link.tgRecord = std::make_unique<TgRecordBytes>();
  w.doc.SetModified(false);

  bool stayedOpen = false;
  w.answer = [&stayedOpen](CDetailDialog& dialog) {
    // "NETWORKNODE01 - NETWORKNODE02" is too long for the name box.
    dialog.Box(CTgDetailDialog::kStatusBox)->setText("Inactive");
    PressOk(dialog);
    stayedOpen = dialog.isVisible();
    PressCancel(dialog);
  };
  w.ChooseDetails(link);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"Please enter no more than 17 characters."});
  EXPECT_EQ(link.status, ResourceStatus::Active);
  EXPECT_FALSE(w.doc.IsModified());

  // Cancel after edits on a node leaves it alone as well.
  w.answer = [](CDetailDialog& dialog) {
    dialog.Box(CNodeDetailDialog::kNameBox)->setText("RENAMED");
    dialog.Box(CNodeDetailDialog::kStatusBox)->setText("Inactive");
    PressCancel(dialog);
  };
  w.ChooseDetails(a);
  EXPECT_EQ(a.label, "NETWORKNODE01");
  EXPECT_EQ(a.status, ResourceStatus::Active);
  EXPECT_FALSE(w.doc.IsModified());
}

TEST(DetailCommand, NodeGoneWhileTheDialogIsOpenTakesNoEdits) {
  DetailWindow w;
  CNode& node = w.AddSquareNode("NN1", 60, 60);
  w.answer = [&w](CDetailDialog& dialog) {
    // A new picture (as an opened file would bring) while the dialog waits.
    w.doc.NewDocument();
    dialog.Box(CNodeDetailDialog::kNameBox)->setText("GONE");
    PressOk(dialog);
  };
  w.ChooseDetails(node);
  EXPECT_EQ(w.doc.FindNode("GONE"), nullptr);
  EXPECT_TRUE(w.doc.Nodes().empty());
}

}  // namespace
}  // namespace mapvine
