#include "app/StatusProgress.h"

#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

namespace mapvine {
namespace {

// How often at most the count of a running stage is drawn anew.
constexpr int kStepShownMilliseconds = 100;

// The bar repaints at once when its text changes or its range is reset, and
// a repaint in the middle of a turn paints every part of the window waiting
// to be painted, the picture too. While this lives the bar's changes wait
// for the next turn's paint instead.
class PaintedLater {
 public:
  explicit PaintedLater(QWidget& widget) : widget_(widget) { widget_.setUpdatesEnabled(false); }
  ~PaintedLater() { widget_.setUpdatesEnabled(true); }
  PaintedLater(const PaintedLater&) = delete;
  PaintedLater& operator=(const PaintedLater&) = delete;

 private:
  QWidget& widget_;
};

}  // namespace

StatusProgress::StatusProgress(QStatusBar& bar, QWidget& window)
    : window_(window),
      bar_(new QProgressBar(&bar)),
      stop_(new QPushButton(tr("Stop"), &bar)),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
  bar_->setMaximumWidth(220);
  // Next to the texts, before the lock indicators.
  bar.insertPermanentWidget(0, bar_);
  bar.insertPermanentWidget(1, stop_);
  bar_->hide();
  stop_->hide();
  stop_->setToolTip(tr("Stop the refresh (Esc)"));
  // The button does not take the focus from the picture.
  stop_->setFocusPolicy(Qt::NoFocus);
  connect(stop_, &QPushButton::clicked, this, &StatusProgress::RequestStop);
  // Escape stops only while a refresh runs; otherwise it is the window's.
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this, &StatusProgress::RequestStop);
  stepShown_.setSingleShot(true);
  stepShown_.setInterval(kStepShownMilliseconds);
  connect(&stepShown_, &QTimer::timeout, this, &StatusProgress::ShowStep);
}

StatusProgress::~StatusProgress() { CloseQuestion(); }

void StatusProgress::Begin(std::string_view stage, int total) {
  running_ = true;
  escape_->setEnabled(true);
  const QString text = QString::fromUtf8(stage.data(), static_cast<qsizetype>(stage.size()));
  bar_->show();
  stop_->show();
  const PaintedLater later(*bar_);
  if (total <= 0) {
    // Nothing to count yet: the bar moves to and fro, and the pane says why.
    bar_->setRange(0, 0);
    bar_->setFormat(text);
    if (say) say(stage);
  } else {
    bar_->setFormat(text + tr(": %v of %m"));
    bar_->setRange(0, total);
  }
  stepShown_.stop();
  steps_ = 0;
  bar_->setValue(0);
}

void StatusProgress::Step(int done) {
  steps_ = done;
  if (!stepShown_.isActive()) stepShown_.start();
}

void StatusProgress::ShowStep() {
  const PaintedLater later(*bar_);
  bar_->setValue(std::min(steps_, bar_->maximum()));
}

void StatusProgress::NodeSilent() {
  if (question_) return;
  question_ = new QMessageBox(QMessageBox::Question, window_.windowTitle(), tr(kSilentText),
                              QMessageBox::NoButton, &window_);
  question_->setAttribute(Qt::WA_DeleteOnClose);
  QPushButton* wait = question_->addButton(tr("Keep Waiting"), QMessageBox::AcceptRole);
  QPushButton* stop = question_->addButton(tr("Stop"), QMessageBox::RejectRole);
  question_->setDefaultButton(wait);
  question_->setEscapeButton(stop);
  connect(question_, &QMessageBox::buttonClicked, this, [this, wait](QAbstractButton* clicked) {
    if (clicked == wait) {
      if (keepWaiting) keepWaiting();
    } else {
      RequestStop();
    }
  });
  // Not modal: the picture stays usable while the person thinks it over.
  question_->setWindowModality(Qt::NonModal);
  question_->show();
}

void StatusProgress::End() {
  running_ = false;
  stepShown_.stop();
  escape_->setEnabled(false);
  bar_->hide();
  stop_->hide();
  CloseQuestion();
}

void StatusProgress::RequestStop() {
  if (running_ && stop) stop();
}

void StatusProgress::CloseQuestion() {
  if (question_) question_->close();
}

}  // namespace mapvine
