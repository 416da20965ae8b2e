#include <gtest/gtest.h>

#include "tests/view/InteractionSupport.h"

namespace mapvine {
namespace {

TEST(ViewToolTips, NameWhatLiesUnderThePointerWithNamesEscaped) {
  viewtest::InteractiveWindow w;
  CNode& a = w.AddSquareNode("NN1", 40, 40);
  CNode& b = w.AddSquareNode("NN2", 240, 40);
  b.label = "<b>B";  // a name from a file may hold markup
  b.status = ResourceStatus::Inactive;
  w.doc.NewLink(a, b);
  w.view.PictureChanged();
  const struct {
    Point at;
    std::string tip;
  } rows[] = {
      {viewtest::InteractiveWindow::BodyOf(a), "<qt>NN1 (NETA.NN1)<br>Network Node, active"},
      {viewtest::InteractiveWindow::BodyOf(b),
       "<qt>&lt;b&gt;B (NETA.NN2)<br>Network Node, inactive"},
      {{150, 56}, "<qt>NN1 - &lt;b&gt;B<br>TG 0, inactive"},
      {{150, 200}, ""},
  };
  for (const auto& row : rows) EXPECT_EQ(w.TipAt(row.at), row.tip) << row.at.x << "," << row.at.y;
}

}  // namespace
}  // namespace mapvine
