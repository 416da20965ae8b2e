#include <gtest/gtest.h>

#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <memory>
#include <utility>
#include <vector>

#include "tests/view/DetailDialogSupport.h"
#include "dialogs/LinkDetailDialogs.h"
#include "dialogs/NodeDetailDialogs.h"

namespace mapvine {
namespace {

using namespace viewtest;
using dialogtest::PressCancel;
using dialogtest::PressOk;
using testing::ScriptedPrompts;

struct Row {
  int id;
  const char* label;
  const char* text;
};

void ExpectRows(const CDetailDialog& dialog, const char* caption, const std::vector<Row>& rows) {
  EXPECT_EQ(dialog.windowTitle(), caption);
  EXPECT_TRUE(dialog.isModal());
  EXPECT_EQ(dialog.findChildren<QLineEdit*>().size(), static_cast<qsizetype>(rows.size()));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    const QLineEdit* box = dialog.Box(row.id);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QStringLiteral("box%1").arg(row.id));
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(LabelOf(dialog, row.id), row.label);
    EXPECT_EQ(box->text(), row.text);
  }
}

TEST(DetailDialogLayout, EachDialogShowsItsLabelledBoxes) {
  const NodeDetailTexts node{.name = "NETA.NN1", .type = "Network Node", .status = "Congested",
                             .daysUntilPurged = 15, .routeResistance = 128,
                             .resourceSequence = -2, .flowReductionSequence = 1234,
                             .functionSupport = "ISR, HPR"};
  ExpectRows(CNodeDetailDialog(node), "Node Detail",
             {{1011, "Node Name:", "NETA.NN1"}, {1012, "Node Type:", "Network Node"},
              {1014, "Status:", "Congested"}, {1015, "Days Until Purged:", "15"},
              {1017, "Route Additional Resistance:", "128"},
              {1020, "Resource Sequence Number:", "-2"},
              {1016, "Flow Reduction Sequence Number:", "1234"},
              {1018, "Function Support:", "ISR, HPR"}});

  const DirectoryDetailTexts directory{.name = "NETA.LU1", .type = "LU", .description = "None",
                                       .parentName = "NETA.EN1", .parentType = "End Node",
                                       .entryType = "Unknown", .location = "Cross Domain"};
  ExpectRows(CDirectoryDetailDialog(directory), "Detail",
             {{1048, "Name:", "NETA.LU1"}, {1049, "Type:", "LU"}, {1050, "Description:", "None"},
              {1051, "Parent Name:", "NETA.EN1"}, {1052, "Parent Type:", "End Node"},
              {1053, "Entry Type:", "Unknown"}, {1054, "Location:", "Cross Domain"}});

  const TgDetailTexts tg{.name = "NN1 - EN1", .owner = "NETA.NN1", .ownerType = "Network Node",
                         .destination = "NETA.EN1", .destinationType = "End Node",
                         .status = "CP-CP Sessions", .tgNumber = 21,
                         .flowReductionSequence = "1234", .daysUntilPurged = 30,
                         .resourceSequence = 77};
  ExpectRows(CTgDetailDialog(tg), "Link Detail",
             {{1031, "Name:", "NN1 - EN1"}, {1032, "Owner:", "NETA.NN1"},
              {1033, "Owner Type:", "Network Node"}, {1034, "Destination:", "NETA.EN1"},
              {1035, "Destination Type:", "End Node"}, {1036, "Status:", "CP-CP Sessions"},
              {1037, "Transmission Group Number:", "21"},
              {1038, "Flow Reduction Sequence Number:", "1234"},
              {1039, "Days Until Purged:", "30"}, {1040, "Resource Sequence Number:", "77"}});

  ExpectRows(CLinkDetailDialog({.name = "ENNODE1 - NN2", .status = "InActive"}), "Link Detail",
             {{1031, "Name:", "ENNODE1 - NN2"}, {1036, "Status:", "InActive"}});
}

TEST(DetailDialogLayout, BoxesShowTheLongestRecordTextsWhole) {
  CNodeDetailDialog dialog({.status = dialog::NodeStatusText(0xFF),
                            .functionSupport = dialog::FunctionSupportText(0xFF)});
  dialog.show();
  for (const QLineEdit* box : dialog.findChildren<QLineEdit*>()) {
    // The room inside the frame and the box's own 2-pixel margins.
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const int room = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box).width() - 4;
    EXPECT_GE(room, box->fontMetrics().horizontalAdvance(box->text())) << box->text().toStdString();
  }
}

TEST(DetailDialogLayout, NamesKeepEveryByte) {
  // Decoded names may hold bytes without an ASCII counterpart.
  CNodeDetailDialog dialog({.name = "NN\xFF\xC1"});
  EXPECT_EQ(BoxText(dialog, CNodeDetailDialog::kNameBox), QString::fromLatin1("NN\xFF\xC1"));
  dialog.show();
  PressOk(dialog);
  EXPECT_EQ(dialog.Texts().name, "NN\xFF\xC1");
  // A character no byte stands for is refused, not stored as "?".
  ScriptedPrompts prompts;
  CNodeDetailDialog euro({.name = "NN1"});
  euro.show();
  euro.Box(CNodeDetailDialog::kNameBox)->setText(QString::fromUtf8("NN\u20AC"));
  PressOk(euro);
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"Please use only Western European (Latin-1) characters."});
  EXPECT_EQ(euro.Texts().name, "NN1");
}

TEST(DetailDialogNumbers, NonNumericEntryIsRefusedAndTheDialogStaysOpen) {
  ScriptedPrompts prompts;
  CNodeDetailDialog dialog({.status = "Active", .daysUntilPurged = 12});
  dialog.show();
  QLineEdit& days = *dialog.Box(CNodeDetailDialog::kDaysUntilPurgedBox);

  // Typing letters into a number box does nothing.
  days.setFocus();
  days.end(false);
  QTest::keyClicks(&days, "ab");
  EXPECT_EQ(days.text(), "12");

  const std::string integer = "Please enter an integer.";
  const std::string range = "Please enter an integer between -2147483648 and 2147483647.";
  for (const auto& [bad, message] : std::vector<std::pair<const char*, std::string>>{
           {"", integer}, {"-", integer}, {"12x", integer}, {"99999999999", range}}) {
    SCOPED_TRACE(bad);
    days.setText(bad);  // what a paste or a program could leave there
    prompts.messages.clear();
    PressOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{message});
    EXPECT_EQ(dialog.Texts().daysUntilPurged, 12);  // nothing taken yet
  }

  days.setText(" 40 ");
  dialog.Box(CNodeDetailDialog::kStatusBox)->setText("Inactive");
  PressOk(dialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Texts().daysUntilPurged, 40);
  EXPECT_EQ(dialog.Texts().status, "Inactive");
}

TEST(DetailDialogNumbers, TgNumberBoxesAreCheckedTooButNotTheFlowText) {
  ScriptedPrompts prompts;
  CTgDetailDialog dialog({.name = "A - B", .tgNumber = 21, .flowReductionSequence = "1234"});
  dialog.show();
  dialog.Box(CTgDetailDialog::kFlowReductionBox)->setText("not a number");
  PressOk(dialog);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(prompts.messages.empty());

  for (int id : {CTgDetailDialog::kTgNumberBox, CTgDetailDialog::kDaysUntilPurgedBox,
                 CTgDetailDialog::kResourceSequenceBox}) {
    SCOPED_TRACE(id);
    CTgDetailDialog again({.name = "A - B"});
    again.show();
    again.Box(id)->setText("x");
    PressOk(again);
    EXPECT_TRUE(again.isVisible());
    EXPECT_FALSE(again.Box(id)->selectedText().isEmpty());  // the culprit is pointed out
  }
}

TEST(DetailDialogLimit, LongTextShowsWholeButCannotGrowAndIsRefused) {
  ScriptedPrompts prompts;
  const std::string longName = "NETA.NN01 - NETA.EN01";  // 21 characters
  CTgDetailDialog dialog({.name = longName, .owner = "NETA.NN01"});
  dialog.show();
  QLineEdit& name = *dialog.Box(CTgDetailDialog::kNameBox);
  QLineEdit& owner = *dialog.Box(CTgDetailDialog::kOwnerBox);
  EXPECT_EQ(name.text().toStdString(), longName);

  name.setFocus();
  name.end(false);
  QTest::keyClick(&name, Qt::Key_X);
  EXPECT_EQ(name.text().toStdString(), longName);
  QTest::keyClick(&name, Qt::Key_Backspace);
  EXPECT_EQ(name.text().size(), 20);

  PressOk(dialog);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"Please enter no more than 17 characters."});
  EXPECT_EQ(dialog.Texts().name, longName);

  // A short box takes characters up to the limit and no more.
  owner.setFocus();
  owner.end(false);
  QTest::keyClicks(&owner, "ABCDEFGHIJ");
  EXPECT_EQ(owner.text(), "NETA.NN01ABCDEFGH");

  name.setText("NN1 - EN1");
  dialog.Box(CTgDetailDialog::kStatusBox)->setText("Inactive");
  PressOk(dialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Texts().name, "NN1 - EN1");
  EXPECT_EQ(dialog.Texts().owner, "NETA.NN01ABCDEFGH");
  EXPECT_EQ(dialog.Texts().status, "Inactive");
}

TEST(DetailDialogLimit, OnlyTheTgDialogLimitsItsBoxes) {
  ScriptedPrompts prompts;
  const std::string longText(40, 'N');
  CLinkDetailDialog link({.name = longText, .status = "Active"});
  link.show();
  PressOk(link);
  EXPECT_EQ(link.result(), QDialog::Accepted);
  EXPECT_EQ(link.Texts().name, longText);

  CTgDetailDialog tg({.name = "A - B", .destination = longText});
  tg.show();
  PressOk(tg);
  EXPECT_EQ(tg.result(), QDialog::Accepted);
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace mapvine
