#pragma once

#include <QHelpEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <memory>
#include <string>

#include "tests/view/ViewTestSupport.h"

namespace mapvine::viewtest {

// Index of the see-through corner and of the body of the test icons.
inline constexpr std::uint8_t kClear = 0;
inline constexpr std::uint8_t kBody = 1;
inline constexpr std::uint8_t kOtherBody = 2;
// The top-left corner of the icons, this many pixels square, is see-through.
inline constexpr int kClearCorner = 8;

// 32 x 32 icons whose top-left corner is see-through. They outlive the
// document whose nodes show them, hence a base of their own.
struct SquareIcons {
  static std::unique_ptr<CDIB> Make(std::uint8_t body) {
    return MakeImage(32, 32, {kBlack, kWhite, kRed}, [body](int x, int y) {
      return x < kClearCorner && y < kClearCorner ? kClear : body;
    });
  }
  std::unique_ptr<CDIB> icon = Make(kBody);
  std::unique_ptr<CDIB> otherIcon = Make(kOtherBody);
};

// A shown view whose mouse is driven by QTest events on the viewport. The
// drag reads the cursor through the view's cursor source, which follows
// `cursor` (viewport coordinates) here.
struct InteractiveWindow : SquareIcons, ShownDocument {
  QPoint cursor;

  InteractiveWindow() {
    view.Drag().cursorPosition = [this] { return view.viewport()->mapToGlobal(cursor); };
    QObject::connect(&view.Signals(), &ViewSignals::CommandChosen, &view,
                     [this](int id) { commands.Run(id); });
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    DeliverEvents();
  }

  static void DeliverEvents() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // A network node showing the 32 x 32 icon at (x, y).
  CNode& AddSquareNode(const std::string& name, int x, int y, const CDIB* image = nullptr) {
    CNode& node = AddNode(name, x, y);
    node.SetImage(image != nullptr ? *image : *icon, 0, 0);
    view.PictureChanged();
    return node;
  }

  // A point on the node's opaque body.
  static Point BodyOf(const CNode& node) { return {node.GetX() + 20, node.GetY() + 20}; }

  QPoint ToViewport(Point p) const {
    const double zoom = view.Zooming().Zoom();
    return {static_cast<int>(p.x * zoom) - view.horizontalScrollBar()->value(),
            static_cast<int>(p.y * zoom) - view.verticalScrollBar()->value()};
  }
  void Press(Point at) { QTest::mousePress(view.viewport(), Qt::LeftButton, {}, ToViewport(at)); }
  // Puts the cursor at a viewport position and lets the view see a move.
  void HoldCursorAt(QPoint viewportPos) {
    cursor = viewportPos;
    QTest::mouseMove(view.viewport(), viewportPos);
  }
  void MoveTo(Point at) { HoldCursorAt(ToViewport(at)); }
  void Release() { QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, cursor); }
  void Drag(const CNode& node, Point to) {
    Press(BodyOf(node));
    MoveTo(to);
    Release();
  }

  // Opens the context menu at `at` without showing it and chooses `id`.
  void Choose(Point at, int id) {
    const std::unique_ptr<QMenu> menu = view.Menus().Build(at);
    QAction* action = FindAction(*menu, id);
    ASSERT_NE(action, nullptr) << id;
    action->trigger();
  }

  static QAction* FindAction(const QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
      if (action->menu() != nullptr) {
        if (QAction* inner = FindAction(*action->menu(), id)) return inner;
      } else if (action->data().toInt() == id) {
        return action;
      }
    }
    return nullptr;
  }

  // Whether the whole picture, with what lies over it, shows the icon's
  // body of palette index `body` whole.
  bool ShowsIconAt(const CNode& node, std::uint8_t body) {
    const Rect r = node.GetRect();
    const QImage picture = view.Frame().PictureImage();
    const QRgb color = ColorTableOf(*view.Palette())[body];
    int shown = 0;
    for (int y = r.top + kClearCorner; y < r.bottom; ++y) {
      for (int x = r.left + kClearCorner; x < r.right; ++x) shown += picture.pixel(x, y) == color;
    }
    return shown == (32 - kClearCorner) * (32 - kClearCorner);
  }
  bool ShowsBackgroundAt(const Rect& area) {
    return DifferingPixels(Buffer(), *doc.composedBackground, area) == 0;
  }

  // What the window shows now, painted as the screen would get it.
  QImage Shown() { return view.viewport()->grab().toImage(); }

  // What a tooltip asked for over `at` shows; empty when the view lets the
  // request go.
  std::string TipAt(Point at) {
    const QPoint pos = ToViewport(at);
    QHelpEvent help(QEvent::ToolTip, pos, view.viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(view.viewport(), &help);
    return help.isAccepted() ? QToolTip::text().toStdString() : std::string();
  }
};

}  // namespace mapvine::viewtest
