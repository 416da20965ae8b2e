#pragma once

#include <QObject>
#include <vector>

#include "app/HistorySettings.h"
#include "history/DesktopNotifier.h"
#include "history/HistoryRow.h"
#include "history/PictureReplay.h"

class QLabel;
class QToolBar;

namespace mapvine {

class CMainFrame;
class HistoryDock;
class HistoryRecorder;
class RefreshHistory;
struct FlapReport;
struct RecordedRefresh;

// The history in the window: the History dock with its list and time
// slider, the picture replayed at the time picked with a "Showing
// 03:00:12" banner and its Live button, and acknowledgements stored so
// that they outlive the session; and, during auto refresh while the window
// is not the active one, a desktop notification for each refresh whose
// changes the person asked to hear of. Refreshes keep running while a past time
// is shown: each puts today's picture back first, and the replay follows.
class HistoryWindow final : public QObject {
  Q_OBJECT
 public:
  // The list covers this many days back.
  static constexpr int kListedDays = 7;

  // `recorder` may be null: no history is kept, the list shows this
  // session's changes only.
  HistoryWindow(CMainFrame& frame, CMapvineDoc& doc, RefreshHistory& history, HistoryRecorder* recorder);
  ~HistoryWindow() override;

  HistoryDock& Dock() const { return *dock_; }
  void ShowTime(HistoryTime when);
  void GoLive();
  bool ShowingPast() const { return replay_.Showing(); }
  QString BannerText() const;
  // The settings took effect at once, but where the history is kept and
  // how long take effect at the next start.
  void EditSettings();
  DesktopNotifier& Notifier() { return notifier_; }

 private:
  void Refreshed();
  void Followed(const RecordedRefresh& refresh, const FlapReport& report);
  std::optional<NoticeKinds> WantedNotice(const RecordedRefresh& refresh) const;
  void Reload();
  void Relist();
  void RestoreUnacknowledgedMarks();
  void Acknowledged(const std::vector<std::string>* keys);
  void BringToFront(const TopologyChange& resource);

  CMainFrame& frame_;
  CMapvineDoc& doc_;
  RefreshHistory& history_;
  HistoryRecorder* recorder_;
  HistoryDock* dock_;
  QToolBar* banner_;
  QLabel* bannerText_;
  NetworkKey network_;
  std::vector<HistoryRow> rows_;  // the network's recent changes, oldest first
  bool listStale_ = false;        // the dock's list waits to be shown
  PictureReplay replay_;
  HistoryTime shownTime_ = 0;
  HistorySettings settings_;
  DesktopNotifier notifier_;
};

}  // namespace mapvine
