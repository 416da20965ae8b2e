#include "app/HistoryWindow.h"

#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <unordered_map>

#include "app/HistoryDock.h"
#include "app/HistorySettingsDialog.h"
#include "app/MainFrame.h"
#include "base/QualifiedName.h"
#include "history/HistoryRecorder.h"
#include "history/RefreshHistory.h"
#include "view/CommandTable.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

HistoryTime Now() { return QDateTime::currentMSecsSinceEpoch(); }

}  // namespace

HistoryWindow::HistoryWindow(CMainFrame& frame, CMapvineDoc& doc, RefreshHistory& history, HistoryRecorder* recorder)
    : frame_(frame), doc_(doc), history_(history), recorder_(recorder), dock_(new HistoryDock(&frame)),
      banner_(new QToolBar(tr("Past picture"), &frame)), bannerText_(new QLabel), settings_(LoadHistorySettings()) {
  frame.addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();
  QAction* toggle = dock_->toggleViewAction();
  toggle->setData(command::kHistoryWindow);
  toggle->setStatusTip(QString::fromUtf8(FindCommand(command::kHistoryWindow)->prompt));
  for (QAction* menu : frame.menuBar()->actions()) {
    if (menu->text() != "&View" || menu->menu() == nullptr) continue;
    menu->menu()->addAction(toggle);
    const CommandInfo& settingsInfo = *FindCommand(command::kHistorySettings);
    QAction* settings =
        menu->menu()->addAction(QString::fromUtf8(settingsInfo.text), this, &HistoryWindow::EditSettings);
    settings->setObjectName("HistorySettings");
    settings->setData(command::kHistorySettings);
    settings->setStatusTip(QString::fromUtf8(settingsInfo.prompt));
  }
  // The banner says the picture is not today's, and takes the person back.
  banner_->setObjectName("HistoryBanner");
  banner_->setMovable(false);
  banner_->setStyleSheet("QToolBar { background: #fff3b0; }");
  banner_->addWidget(bannerText_);
  QAction* live = banner_->addAction(tr("Live"), this, &HistoryWindow::GoLive);
  live->setObjectName("HistoryLive");
  live->setStatusTip(tr("Show the picture as it is now"));
  frame.addToolBarBreak(Qt::TopToolBarArea);
  frame.addToolBar(Qt::TopToolBarArea, banner_);
  banner_->hide();

  connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible && listStale_) Relist();
  });
  connect(dock_, &HistoryDock::TimePicked, this, [this](qint64 when) { ShowTime(when); });
  connect(dock_, &HistoryDock::LiveAsked, this, &HistoryWindow::GoLive);
  connect(dock_, &HistoryDock::LocateRequested, this,
          [this](const QString& name) { frame_.View().Finder().LocateNode(name.toStdString()); });
  connect(&frame.View().Signals(), &ViewSignals::AllMarksAcknowledged, this, [this] { Acknowledged(nullptr); });
  connect(&frame.View().Signals(), &ViewSignals::MarkAcknowledged, this, [this](const TopologyChange& resource) {
    const std::vector<std::string> keys{ResourceKey(resource)};
    Acknowledged(&keys);
  });
  connect(&notifier_, &DesktopNotifier::Activated, this, &HistoryWindow::BringToFront);
  history_.beforeRefresh = [this] { replay_.Restore(doc_); };
  history_.afterRefresh = [this] { Refreshed(); };
  history_.wantsNotice = [this](const RecordedRefresh& refresh) { return WantedNotice(refresh); };
  history_.flappingFollowed = [this](const RecordedRefresh& refresh, const FlapReport& report) {
    Followed(refresh, report);
  };
}

HistoryWindow::~HistoryWindow() {
  history_.beforeRefresh = nullptr;
  history_.afterRefresh = nullptr;
  history_.wantsNotice = nullptr;
  history_.flappingFollowed = nullptr;
  replay_.Restore(doc_);
}

void HistoryWindow::Refreshed() {
  const RecordedRefresh& last = history_.Last();
  if (!last.network.Known()) return;
  if (last.network != network_) {
    network_ = last.network;
    rows_.clear();
    Reload();
  } else if (!last.baseline) {
    // Listed once its flapping is known.
    rows_.reserve(rows_.size() + last.Changes().size());
    for (const TopologyChange& change : last.Changes()) rows_.push_back({last.when, 0, change, false});
  }
  if (replay_.Showing() || shownTime_ != 0) ShowTime(shownTime_);
}

void HistoryWindow::Reload() {
  if (recorder_ == nullptr) return Relist();
  HistoryFilter filter;
  filter.network = network_;
  filter.since = Now() - qint64{kListedDays} * 24 * 3600 * 1000;
  const NetworkKey asked = network_;
  recorder_->Read(filter, [this, asked](std::vector<HistoryRow> rows) {
    if (asked != network_) return;  // another network's picture came meanwhile
    rows_ = std::move(rows);
    RestoreUnacknowledgedMarks();
    Relist();
  });
}

void HistoryWindow::Relist() {
  // A hidden list costs nothing: it is brought up to date when shown.
  listStale_ = !dock_->isVisible();
  if (listStale_) return;
  const HistoryTime from = rows_.empty() ? Now() - 24 * 3600 * 1000 : rows_.front().when;
  dock_->Show(FoldFlapping(rows_, history_.Flapping()), from, Now());
}

// What nobody acknowledged in an earlier session is marked again, each
// resource with its latest change, unless this session marked it already.
void HistoryWindow::RestoreUnacknowledgedMarks() {
  std::unordered_map<std::string, const HistoryRow*> latest;
  for (const HistoryRow& row : rows_) {
    if (!row.acknowledged) latest[ResourceKey(row.change)] = &row;
  }
  for (const auto& [key, row] : latest) {
    const TopologyChange& change = row->change;
    if (!change.isLink) {
      CNode* node = doc_.FindNode(ShortNameView(change.name));
      if (node && node->changeMark == ChangeMark::None) node->changeMark = change.kind;
    } else if (CLink* link = doc_.FindLink(ShortNameView(change.name), ShortNameView(change.destinationName),
                                           change.tgNumber);
               link && link->changeMark == ChangeMark::None) {
      link->changeMark = change.kind;
    }
  }
  if (!latest.empty()) frame_.View().PictureChanged();
}

void HistoryWindow::Acknowledged(const std::vector<std::string>* keys) {
  if (!network_.Known()) return;
  const HistoryTime now = Now();
  if (recorder_) recorder_->Acknowledge(network_, now, keys ? std::optional(*keys) : std::nullopt);
  for (HistoryRow& row : rows_) {
    if (keys == nullptr || std::find(keys->begin(), keys->end(), ResourceKey(row.change)) != keys->end()) {
      row.acknowledged = true;
    }
  }
  Relist();
}

void HistoryWindow::ShowTime(HistoryTime when) {
  shownTime_ = when;
  const auto after = std::upper_bound(rows_.begin(), rows_.end(), when,
                                      [](HistoryTime time, const HistoryRow& row) { return time < row.when; });
  replay_.Show(doc_, std::span(after, rows_.end()));
  bannerText_->setText(BannerText());
  banner_->show();
  frame_.View().PictureChanged();
}

void HistoryWindow::GoLive() {
  shownTime_ = 0;
  replay_.Restore(doc_);
  banner_->hide();
  dock_->GoLive();
  frame_.View().PictureChanged();
}

// Decided as the refresh ends: the marks already tell a person looking at
// the window then.
std::optional<NoticeKinds> HistoryWindow::WantedNotice(const RecordedRefresh& refresh) const {
  if (refresh.baseline || !settings_.notify || !doc_.settings.autoRefresh || frame_.isActiveWindow()) {
    return std::nullopt;
  }
  return NoticeKinds{settings_.notifyInactive, settings_.notifyGone, settings_.notifyRecovered};
}

void HistoryWindow::Followed(const RecordedRefresh& refresh, const FlapReport& report) {
  if (report.notice) notifier_.Notify(*report.notice);
  if (refresh.network == network_) Relist();
}

void HistoryWindow::BringToFront(const TopologyChange& resource) {
  frame_.showNormal();
  frame_.raise();
  frame_.activateWindow();
  frame_.View().Finder().LocateNode(resource.name);
}

void HistoryWindow::EditSettings() {
  if (std::optional<HistorySettings> chosen = AskHistorySettings(&frame_, settings_)) {
    settings_ = *chosen;
    SaveHistorySettings(settings_);
  }
}

QString HistoryWindow::BannerText() const {
  return tr("Showing %1").arg(QDateTime::fromMSecsSinceEpoch(shownTime_).toString("HH:mm:ss"));
}

}  // namespace mapvine
