#pragma once

#include <QObject>
#include <QString>

class QStatusBar;

namespace mapvine {

// The status bar's message pane. A text too long for the room left of the
// permanent panes (zoom, progress, lock keys) ends in "…" instead of running
// under them, and the whole text is the status bar's tooltip. The text is
// cut anew whenever the bar changes size.
class StatusMessage final : public QObject {
 public:
  explicit StatusMessage(QStatusBar& bar);

  void Show(const QString& text);
  // The whole text, as last shown.
  const QString& Text() const { return text_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Pixels from the bar's left edge to the first permanent pane.
  int Room() const;
  void Present();

  QStatusBar& bar_;
  QString text_;
};

}  // namespace mapvine
