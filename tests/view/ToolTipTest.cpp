#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>

#include "tests/view/InteractionSupport.h"

namespace mapvine {
namespace {

// What a tooltip asked for over `at` shows; empty when the view lets the
// request go.
std::string TipAt(viewtest::InteractiveWindow& w, Point at) {
  const QPoint pos = w.ToViewport(at);
  QHelpEvent help(QEvent::ToolTip, pos, w.view.viewport()->mapToGlobal(pos));
  QCoreApplication::sendEvent(w.view.viewport(), &help);
  return help.isAccepted() ? QToolTip::text().toStdString() : std::string();
}

TEST(ViewToolTips, NameWhatLiesUnderThePointerWithNamesEscaped) {
  viewtest::InteractiveWindow w;
  CSprite& a = w.AddSquareNode("NN1", 40, 40);
  CSprite& b = w.AddSquareNode("NN2", 240, 40);
  b.label = "<b>B";  // a name from a file may hold markup
  b.status = ResourceStatus::Inactive;
  w.doc.NewLink(a, b);
  w.view.RedrawAll();
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
  for (const auto& row : rows) EXPECT_EQ(TipAt(w, row.at), row.tip) << row.at.x << "," << row.at.y;
}

}  // namespace
}  // namespace mapvine
