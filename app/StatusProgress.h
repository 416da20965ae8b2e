#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "refresh/RefreshProgress.h"

class QProgressBar;
class QPushButton;
class QShortcut;
class QStatusBar;
class QWidget;

namespace mapvine {

// A refresh's progress in the status bar, beside its texts: what the
// refresh is waiting for, or a bar with the count done and the count to do;
// and a Stop button that Escape presses too, for as long as the refresh
// runs. The window stays usable meanwhile. When the node stays silent the
// person is asked whether to keep waiting, without a modal box. The count
// is shown a few times a second, whatever the rate of the steps.
class StatusProgress final : public QObject, public RefreshProgress {
  Q_OBJECT

 public:
  static constexpr const char* kSilentText = "The node has not answered for 30 s";

  StatusProgress(QStatusBar& bar, QWidget& window);
  ~StatusProgress() override;

  void Begin(std::string_view stage, int total) override;
  void Step(int done) override;
  void NodeSilent() override;
  void End() override;

  // What Stop and Keep Waiting do; the main window connects them.
  std::function<void()> stop;
  std::function<void()> keepWaiting;
  // Where the progress says what it waits for: the window's message pane.
  std::function<void(std::string_view)> say;

  bool Running() const { return running_; }
  QProgressBar& Bar() const { return *bar_; }
  QPushButton& StopButton() const { return *stop_; }
  // The question asked while the node is silent; none otherwise.
  QMessageBox* SilenceQuestion() const { return question_; }

 private:
  void RequestStop();
  void CloseQuestion();
  void ShowStep();

  QWidget& window_;
  QProgressBar* bar_;    // owned by the status bar
  QPushButton* stop_;    // owned by the status bar
  QShortcut* escape_;    // owned by the window
  QPointer<QMessageBox> question_;
  QTimer stepShown_;  // runs while a step waits to be shown
  int steps_ = 0;     // the steps done, shown or not
  bool running_ = false;
};

}  // namespace mapvine
