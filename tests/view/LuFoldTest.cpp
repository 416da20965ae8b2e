#include <gtest/gtest.h>

#include "model/LuFold.h"
#include "tests/view/InteractionSupport.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

// An end node with two LUs, folded from its menu: the LUs and their links
// leave the picture at 100%, the owner carries a mark with their count that
// points at it, and finding an LU unfolds them again.
TEST(LuFold, FoldedLusLeaveThePictureForTheirOwnersMark) {
  viewtest::InteractiveWindow w;
  CNode& owner = w.AddSquareNode("EN1", 40, 40);
  owner.nodeType = EndNode;
  CNode& lu1 = w.AddSquareNode("LU1", 240, 40);
  CNode& lu2 = w.AddSquareNode("LU2", 40, 240);
  for (CNode* lu : {&lu1, &lu2}) {
    lu->nodeType = LogicalUnit;
    w.doc.NewLink(owner, *lu);
  }
  w.view.PictureChanged();
  const Point luBody = viewtest::InteractiveWindow::BodyOf(lu1);
  const Point onLine{150, 56};
  const Point mark{FoldMarkBox(owner).left + 3, FoldMarkBox(owner).top + 3};
  const std::uint8_t unfoldedLine = w.Buffer().PixelPtr(0, onLine.y)[onLine.x];
  const std::uint8_t unfoldedMark = w.picture->PixelPtr(0, mark.y)[mark.x];
  EXPECT_EQ(w.TipAt(mark), "");

  w.Choose(viewtest::InteractiveWindow::BodyOf(owner), command::kFoldLus);
  ASSERT_TRUE(owner.lusFolded);
  CDIBSurface& folded = w.Buffer();
  EXPECT_NE(folded.PixelPtr(0, luBody.y)[luBody.x], viewtest::kBody) << "the LU is not drawn";
  EXPECT_NE(folded.PixelPtr(0, onLine.y)[onLine.x], unfoldedLine) << "nor its link";
  EXPECT_EQ(folded.PixelPtr(0, mark.y)[mark.x], w.IndexOf(kFoldMarkColor));
  EXPECT_NE(folded.PixelPtr(0, mark.y)[mark.x], unfoldedMark);
  const struct {
    Point at;
    std::string tip;
  } rows[] = {
      {viewtest::InteractiveWindow::BodyOf(owner), "<qt>EN1 (NETA.EN1)<br>End Node, active<br>2 LUs folded"},
      {mark, "<qt>EN1 (NETA.EN1)<br>End Node, active<br>2 LUs folded"},
      {luBody, ""},
      {onLine, ""},
  };
  for (const auto& row : rows) EXPECT_EQ(w.TipAt(row.at), row.tip) << row.at.x << "," << row.at.y;

  // Hiding the owner lets its LUs show on their own again.
  owner.hidden = true;
  EXPECT_FALSE(FoldedAway(lu1));
  owner.hidden = false;

  ASSERT_TRUE(w.view.Finder().LocateNode("LU2"));
  EXPECT_FALSE(owner.lusFolded);
  EXPECT_EQ(w.status.texts.back(), "LU2 was folded into EN1, whose LUs are unfolded now");
  EXPECT_EQ(w.Buffer().PixelPtr(0, luBody.y)[luBody.x], viewtest::kBody);
}

}  // namespace
}  // namespace mapvine
