#pragma once

#include <QObject>

#include "refresh/RefreshProgress.h"

class QLabel;
class QMouseEvent;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace mapvine {

// A refresh's progress in the status bar, beside its texts: a bar with the
// count done and the count to do, and, during the status pass, a Stop button
// that Escape presses too. While a refresh runs the window still paints,
// but of the person's input only a stop gets through: no command may change
// the picture under a refresh.
class StatusProgress final : public QObject, public RefreshProgress {
  Q_OBJECT

 public:
  explicit StatusProgress(QStatusBar& bar);
  ~StatusProgress() override;

  void Begin(std::string_view stage, int total) override;
  void Step(int done) override;
  bool StopRequested() const override { return stopRequested_; }
  void End() override;

  // For a person, or a test, asking for the stop.
  void RequestStop() { stopRequested_ = true; }
  bool Running() const { return running_; }
  QProgressBar& Bar() const { return *bar_; }
  QPushButton& StopButton() const { return *stop_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool ForStopButton(const QObject* watched, const QMouseEvent& event) const;

  QProgressBar* bar_;   // owned by the status bar
  QPushButton* stop_;   // owned by the status bar
  bool running_ = false;
  bool stopRequested_ = false;
};

}  // namespace mapvine
