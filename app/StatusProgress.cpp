#include "app/StatusProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace mapvine {

StatusProgress::StatusProgress(QStatusBar& bar)
    : bar_(new QProgressBar(&bar)), stop_(new QPushButton(tr("Stop"), &bar)) {
  bar_->setMaximumWidth(220);
  // Next to the texts, before the lock indicators.
  bar.insertPermanentWidget(0, bar_);
  bar.insertPermanentWidget(1, stop_);
  bar_->hide();
  stop_->hide();
  stop_->setToolTip(tr("Stop checking the status of nodes (Esc)"));
  connect(stop_, &QPushButton::clicked, this, &StatusProgress::RequestStop);
}

StatusProgress::~StatusProgress() {
  if (running_) qApp->removeEventFilter(this);
}

void StatusProgress::Begin(std::string_view stage, int total) {
  if (!running_) {
    running_ = true;
    qApp->installEventFilter(this);
  }
  // Only the status pass and arranging stop; a stop asked for before is
  // not kept.
  const bool arranging = stage == "Arrange";
  const bool stoppable = stage == "Status" || arranging;
  stop_->setToolTip(arranging ? tr("Stop arranging and keep the picture as it is (Esc)")
                              : tr("Stop checking the status of nodes (Esc)"));
  stopRequested_ = false;
  bar_->show();
  bar_->setFormat(QString::fromUtf8(stage.data(), static_cast<qsizetype>(stage.size())) + tr(": %v of %m"));
  bar_->setRange(0, std::max(total, 0));
  bar_->setValue(0);
  stop_->setVisible(stoppable);
  Step(0);
}

void StatusProgress::Step(int done) {
  bar_->setValue(std::min(done, bar_->maximum()));
  // Paints the bar and lets a stop through; the filter holds back the rest.
  QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

void StatusProgress::End() {
  if (!running_) return;
  running_ = false;
  qApp->removeEventFilter(this);
  bar_->hide();
  stop_->hide();
}

bool StatusProgress::ForStopButton(const QObject* watched, const QMouseEvent& event) const {
  if (watched == stop_) return true;
  // The window system hands a click to the top-level window first, which
  // passes it on to the widget under the pointer.
  const QWidget* window = stop_->window();
  if (!stop_->isVisible() || window == nullptr || watched != window->windowHandle()) return false;
  return stop_->rect().contains(stop_->mapFromGlobal(event.globalPosition().toPoint()));
}

bool StatusProgress::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) RequestStop();
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return !ForStopButton(watched, *static_cast<QMouseEvent*>(event));
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace mapvine
