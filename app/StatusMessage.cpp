#include "app/StatusMessage.h"

#include <QEvent>
#include <QFontMetrics>
#include <QSizeGrip>
#include <QStatusBar>

#include <algorithm>

namespace mapvine {
namespace {

// The bar draws its message a few pixels in from the left, and a gap
// before the first pane reads better than text touching it.
constexpr int kMessageMargins = 16;

}  // namespace

StatusMessage::StatusMessage(QStatusBar& bar) : QObject(&bar), bar_(bar) { bar_.installEventFilter(this); }

void StatusMessage::Show(const QString& text) {
  text_ = text;
  Present();
}

bool StatusMessage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &bar_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)) {
    Present();
  }
  return QObject::eventFilter(watched, event);
}

int StatusMessage::Room() const {
  int right = bar_.width();
  for (const QWidget* pane : bar_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (pane->isVisible() && qobject_cast<const QSizeGrip*>(pane) == nullptr) right = std::min(right, pane->x());
  }
  return std::max(0, right - kMessageMargins);
}

void StatusMessage::Present() {
  // A bar not on screen has not laid out its panes: nothing to measure.
  const QString shown =
      bar_.isVisible() ? QFontMetrics(bar_.font()).elidedText(text_, Qt::ElideRight, Room()) : text_;
  if (bar_.currentMessage() != shown) bar_.showMessage(shown);
  bar_.setToolTip(shown == text_ ? QString() : text_);
}

}  // namespace mapvine
