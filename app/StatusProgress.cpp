#include "app/StatusProgress.h"

#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

namespace mapvine {

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
}

StatusProgress::~StatusProgress() { CloseQuestion(); }

void StatusProgress::Begin(std::string_view stage, int total) {
  running_ = true;
  escape_->setEnabled(true);
  const QString text = QString::fromUtf8(stage.data(), static_cast<qsizetype>(stage.size()));
  bar_->show();
  stop_->show();
  if (total <= 0) {
    // Nothing to count yet: the bar moves to and fro, and the pane says why.
    bar_->setRange(0, 0);
    bar_->setFormat(text);
    if (say) say(stage);
  } else {
    bar_->setFormat(text + tr(": %v of %m"));
    bar_->setRange(0, total);
  }
  bar_->setValue(0);
}

void StatusProgress::Step(int done) { bar_->setValue(std::min(done, bar_->maximum())); }

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
