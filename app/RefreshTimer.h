#pragma once

#include <QObject>
#include <QTimer>

#include "model/DocumentListener.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// The auto-refresh timer. A loaded picture and every finished refresh arm
// it afresh from the document's settings: with auto refresh on it ticks
// every period, otherwise it stops. Each tick asks for one refresh.
class RefreshTimer final : public QObject, public DocumentListener {
  Q_OBJECT

 public:
  explicit RefreshTimer(const CMapvineDoc& doc);

  void PictureLoaded() override { Arm(); }
  void RefreshFinished() override { Arm(); }
  // Auto refresh was switched off.
  void Stop() { timer_.stop(); }
  // Starts the timer with this period whatever the settings say; a period
  // of 0 stops it. Re-arming replaces any running period.
  void Start(int milliseconds);
  // The period in milliseconds; 0 while the timer is stopped.
  int Period() const { return timer_.isActive() ? timer_.interval() : 0; }

 signals:
  void Fired();

 private:
  void Arm();

  const CMapvineDoc& doc_;
  QTimer timer_;
};

}  // namespace mapvine
