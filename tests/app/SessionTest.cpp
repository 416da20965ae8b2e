// Long sessions of the commands a person issues, chosen at random from a
// seed, against the program with its window up and the simulated node
// library. After every step the picture must hold together: links whose
// ends are live nodes that list them, no node listing a link the picture
// lost, nodes in depth order, and the counts shown equal to those held.
//
// MAPVINE_SESSION_SEED (first seed), MAPVINE_SESSION_SEEDS (how many) and
// MAPVINE_SESSION_STEPS (steps per seed) make longer runs; $SNANODE_NETWORK
// chooses the network the library serves, as for the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "protocol/SnaLibrary.h"
#include "tests/support/ForgottenSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/view/DialogSupport.h"
#include "tests/view/InteractionSupport.h"
#include "view/CommandIds.h"
#include "dialogs/LinkDetailDialogs.h"
#include "view/MapvineView.h"
#include "dialogs/NodeDetailDialogs.h"

namespace mapvine {
namespace {

namespace c = command;

int Setting(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

// What is wrong with the picture, or nothing.
std::string Inconsistency(const CMapvineDoc& doc, const CMapvineView& view, const QString& status) {
  std::ostringstream wrong;
  std::set<const CNode*> nodes;
  std::set<const CLink*> links;
  int previousDepth = 0;
  int displayed = 0;
  for (const auto& node : doc.Nodes()) {
    if (!nodes.empty() && node->GetDepth() < previousDepth)
      wrong << node->label << " out of depth order; ";
    previousDepth = node->GetDepth();
    nodes.insert(node.get());
    displayed += node->hidden ? 0 : 1;
  }
  for (const auto& link : doc.Links()) links.insert(link.get());
  auto listsOnce = [](const CNode* node, const CLink* link) {
    return std::count(node->links.begin(), node->links.end(), link) == 1;
  };
  for (const auto& link : doc.Links()) {
    std::vector<const CNode*> listers(link->otherListers.begin(), link->otherListers.end());
    for (const CNode* end : {link->endA, link->endB}) {
      if (end != nullptr) listers.push_back(end);
    }
    for (const CNode* lister : listers) {
      if (!nodes.contains(lister)) {
        wrong << link->title << " names a node the picture lost; ";
      } else if (!listsOnce(lister, link.get())) {
        wrong << lister->label << " does not list " << link->title << " once; ";
      }
    }
  }
  for (const auto& node : doc.Nodes()) {
    for (const CLink* link : node->links) {
      if (!links.contains(link)) {
        wrong << node->label << " lists a link the picture lost; ";
        continue;
      }
      const auto& others = link->otherListers;
      if (link->endA != node.get() && link->endB != node.get() &&
          std::find(others.begin(), others.end(), node.get()) == others.end()) {
        wrong << node->label << " lists " << link->title << " unknown to it; ";
      }
    }
  }
  const int total = static_cast<int>(doc.Nodes().size());
  if (view.Counts().Total() != total || view.Counts().Displayed() != displayed) {
    wrong << "view counts " << view.Counts().Displayed() << " of " << view.Counts().Total() << ", held "
          << displayed << " of " << total << "; ";
  }
  const QString held = QString("Displaying %1 of %2 nodes").arg(displayed).arg(total);
  if (status.startsWith("Displaying") && status != held)
    wrong << "status shows " << status.toStdString();
  return wrong.str();
}

// The program, its window and a user who issues random commands.
class Session : testing::ForgottenSettings {
 public:
  Session(const SnaLibrary& library, unsigned seed) : app_(library), random_(seed) {
    EXPECT_TRUE(app_.InitInstance(CommandLine{}));
    prompts_ = std::make_unique<testing::ScriptedPrompts>();
    app_.Commands().askSaveChanges = [](const QString&) { return SaveChoice::No; };
    View().Drag().cursorPosition = [this] { return View().viewport()->mapToGlobal(cursor_); };
  }

  CMapvineDoc& Doc() { return app_.Document(); }
  CMapvineView& View() { return app_.MainFrame().View(); }
  QString Status() { return app_.MainFrame().StatusText(); }

  // One random command; answers its name.
  std::string Step() {
    switch (Pick(19)) {
      case 0: return Route(c::kManualAddNode, "add node");
      case 1: return Route(c::kRefresh, "refresh");
      case 2: return Route(c::kTileNodes, "tile");
      case 3:
        return Route(Pick(2) ? ShowAllIds()[Pick(5)] : HideAllIds()[Pick(5)], "hide/show all");
      case 4: return SaveAndReopen();
      case 5: return Drag();
      case 6: return LinkToAnother();
      case 7: return OnLink(Pick(2) ? c::kDelete : c::kDetails);
      case 8: return OnNode(c::kDelete);
      case 9: return OnNode(c::kDetails);
      case 10: return OnNode(Pick(2) ? c::kMoveCloser : c::kMoveFarther);
      case 11: return OnNode(std::vector{c::kHide, c::kShowNeighbors, c::kHideNeighbors}[Pick(3)]);
      case 12:
        return OnNode(
            std::vector{c::kIconHost, c::kIconWorkstation, c::kIconServerWorkstation}[Pick(3)]);
      case 13: return CustomIcon();
      case 14: return Route(c::kEditUndo, "undo");
      case 15: return Route(c::kEditRedo, "redo");
      case 16:
        return Route(std::vector{c::kZoomIn, c::kZoomOut, c::kActualSize, c::kFitToWindow}[Pick(4)], "zoom");
      case 17: return Keyboard();
      default:  // rarely: a new picture ends the story so far
        return Pick(5) == 0 ? Route(c::kFileNew, "new picture") : Route(c::kRefresh, "refresh");
    }
  }

 private:
  static std::vector<int> HideAllIds() {
    return {c::kHideAllNetworkNodes, c::kHideAllConnectionNetworks, c::kHideAllEndNodes,
            c::kHideAllLogicalUnits, c::kHideAllUnreachable};
  }
  static std::vector<int> ShowAllIds() {
    return {c::kShowAllNetworkNodes, c::kShowAllConnectionNetworks, c::kShowAllEndNodes,
            c::kShowAllLogicalUnits, c::kShowAllUnreachable};
  }

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  std::string Route(int id, const char* name) {
    app_.MainFrame().Route(id);
    // A refresh runs on while the window goes on; the session waits for it.
    while (app_.Commands().Refreshing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return name;
  }

  // A shown node, or none.
  CNode* SomeNode() {
    std::vector<CNode*> shown;
    for (const auto& node : Doc().Nodes()) {
      if (!node->hidden) shown.push_back(node.get());
    }
    return shown.empty() ? nullptr : shown[Pick(static_cast<int>(shown.size()))];
  }
  CLink* SomeLink() {
    const auto& links = Doc().Links();
    if (links.empty()) return nullptr;
    return std::next(links.begin(), Pick(static_cast<int>(links.size())))->get();
  }
  // The icon's middle; a see-through pixel there hits what lies beneath.
  static Point MiddleOf(const CNode& node) { return node.GetCenter(); }
  Point AnyPoint() {
    return {Pick(std::max(1, Doc().picture.composedWidth)),
            Pick(std::max(1, Doc().picture.composedHeight))};
  }
  QPoint ToViewport(Point p) {
    const double zoom = View().Zooming().Zoom();
    return {static_cast<int>(p.x * zoom) - View().horizontalScrollBar()->value(),
            static_cast<int>(p.y * zoom) - View().verticalScrollBar()->value()};
  }

  // A key on the picture: the selection moves, Enter opens its details, the
  // Menu key its menu (closed again at once), Delete asks (and is answered
  // No), Escape clears the route.
  std::string Keyboard() {
    const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                            Qt::Key_Down, Qt::Key_Return, Qt::Key_Menu, Qt::Key_Delete, Qt::Key_Escape};
    const Qt::Key key = keys[Pick(static_cast<int>(std::size(keys)))];
    if (key == Qt::Key_Menu) {
      QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
      });
    }
    QTest::keyClick(&View(), key);
    return "key " + QKeySequence(key).toString().toStdString();
  }

  // Right click at `at` and choose `id` when the menu that opens has it.
  void Choose(Point at, int id) {
    const std::unique_ptr<QMenu> menu = View().Menus().Build(at);
    QAction* action = viewtest::InteractiveWindow::FindAction(*menu, id);
    if (action != nullptr && action->isEnabled()) action->trigger();  // greyed items are not chosen
  }
  std::string OnNode(int id) {
    if (CNode* node = SomeNode()) Choose(MiddleOf(*node), id);
    return "node command " + std::to_string(id);
  }
  std::string OnLink(int id) {
    if (CLink* link = SomeLink())
      Choose({(link->x1 + link->x2) / 2, (link->y1 + link->y2) / 2}, id);
    return "link command " + std::to_string(id);
  }

  std::string LinkToAnother() {
    OnNode(c::kLink);
    CNode* other = SomeNode();
    const Point at = other != nullptr && Pick(4) != 0 ? MiddleOf(*other) : AnyPoint();
    QTest::mousePress(View().viewport(), Qt::LeftButton, {}, ToViewport(at));
    QTest::mouseRelease(View().viewport(), Qt::LeftButton, {}, ToViewport(at));
    return "manual link";
  }

  std::string Drag() {
    CNode* node = SomeNode();
    if (node == nullptr) return "drag nothing";
    QTest::mousePress(View().viewport(), Qt::LeftButton, {}, ToViewport(MiddleOf(*node)));
    for (int move = Pick(3) + 1; move > 0; --move) {
      cursor_ = ToViewport(AnyPoint());
      QTest::mouseMove(View().viewport(), cursor_);
    }
    QTest::mouseRelease(View().viewport(), Qt::LeftButton, {}, cursor_);
    return "drag";
  }

  std::string CustomIcon() {
    prompts_->fileNames.push_back(MAPVINE_SOURCE_DIR "/resources/CN.BMP");
    return OnNode(std::vector{c::kIconActive, c::kIconInactive, c::kIconSameForBoth}[Pick(3)]);
  }

  std::string SaveAndReopen() {
    const QString path = folder_.filePath("session.top");
    if (app_.Commands().SaveTo(path)) app_.OpenDocumentFile(path);
    return "save and reopen";
  }

  // Details: OK after new names (often another node's, which makes two
  // nodes of one name) and statuses, or Cancel.
  void AnswerDetails(QDialog& dialog) {
    auto& detail = dynamic_cast<CDetailDialog&>(dialog);
    if (Pick(5) == 0) return;
    const char* status = Pick(2) ? "Active" : "Inactive";
    if (QLineEdit* box = detail.Box(CTgDetailDialog::kStatusBox)) box->setText(status);
    if (QLineEdit* box = detail.Box(CNodeDetailDialog::kStatusBox)) box->setText(status);
    for (int id : {int{CNodeDetailDialog::kNameBox}, int{CDirectoryDetailDialog::kNameBox}}) {
      QLineEdit* box = detail.Box(id);
      if (box == nullptr || Pick(2) == 0) continue;
      CNode* other = SomeNode();
      box->setText(other != nullptr && Pick(2) ? QString::fromStdString(other->label)
                                               : QString("R%1").arg(Pick(50)));
    }
    dialogtest::PressOk(dialog);
  }

  CMapvineApp app_;
  std::unique_ptr<testing::ScriptedPrompts> prompts_;
  std::mt19937 random_;
  QPoint cursor_;
  QTemporaryDir folder_;
  dialogtest::DialogScript dialogs_{[this](QDialog& dialog) { AnswerDetails(dialog); }};
};

TEST(Session, RandomCommandsKeepThePictureWhole) {
  const SnaLibrary library = LoadSnaLibrary({SNACTL_LIBRARY});
  ASSERT_TRUE(library.Loaded()) << library.error;
  const int firstSeed = Setting("MAPVINE_SESSION_SEED", 1);
  const int seeds = Setting("MAPVINE_SESSION_SEEDS", 3);
  const int steps = Setting("MAPVINE_SESSION_STEPS", 200);
  for (int seed = firstSeed; seed < firstSeed + seeds; ++seed) {
    Session session(library, static_cast<unsigned>(seed));
    for (int step = 0; step < steps; ++step) {
      const std::string command = session.Step();
      const std::string wrong = Inconsistency(session.Doc(), session.View(), session.Status());
      ASSERT_EQ(wrong, "") << "seed " << seed << ", step " << step << ": " << command;
    }
  }
}

}  // namespace
}  // namespace mapvine
