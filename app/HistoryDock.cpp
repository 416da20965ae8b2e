#include "app/HistoryDock.h"

#include <QDateTime>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ChangesDock.h"

namespace mapvine {
namespace {

enum Column { kTime, kResource, kWhat, kColumnCount };
constexpr int kSliderSteps = 1000;

}  // namespace

void HistoryListModel::SetChanges(std::vector<ListedChange> changes) {
  beginResetModel();
  changes_ = std::move(changes);
  endResetModel();
}

const ListedChange& HistoryListModel::ChangeAt(int row) const {
  return changes_[changes_.size() - 1 - static_cast<std::size_t>(row)];
}

int HistoryListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(changes_.size());
}

int HistoryListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant HistoryListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ListedChange& listed = ChangeAt(index.row());
  if (role == Qt::FontRole && !listed.row.acknowledged) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kTime:
      return QDateTime::fromMSecsSinceEpoch(listed.row.when).toString("yyyy-MM-dd HH:mm:ss");
    case kResource:
      return QString::fromStdString(ChangeResourceText(listed.row.change));
    case kWhat:
      if (listed.flapping) {
        return tr("flapping: %1 changes, last %2").arg(listed.folded).arg(ChangeDescription(listed.row.change.kind));
      }
      return QString::fromUtf8(ChangeDescription(listed.row.change.kind));
    default:
      return {};
  }
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return ChangeColumnTitle(section);
}

HistoryDock::HistoryDock(QWidget* parent)
    : QDockWidget(tr("History"), parent),
      table_(new QTableView),
      slider_(new QSlider(Qt::Horizontal)),
      sliderTime_(new QLabel(tr("Live"))) {
  setObjectName("HistoryDock");
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setWhatsThis(tr("The change history of this network, newest first; bold changes are not acknowledged "
                          "yet. Double-click an entry to locate its resource. Move the slider to see the "
                          "picture as it was then."));
  slider_->setRange(0, kSliderSteps);
  slider_->setValue(kSliderSteps);
  slider_->setToolTip(tr("Show the picture as it was at a past time; the right end is now"));
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(table_);
  layout->addWidget(slider_);
  layout->addWidget(sliderTime_);
  setWidget(content);
  connect(slider_, &QSlider::valueChanged, this, &HistoryDock::Picked);
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit LocateRequested(QString::fromStdString(model_.ChangeAt(index.row()).row.change.name));
  });
}

void HistoryDock::Show(std::vector<ListedChange> changes, HistoryTime from, HistoryTime to) {
  model_.SetChanges(std::move(changes));
  from_ = from;
  to_ = std::max(from, to);
}

void HistoryDock::GoLive() {
  const QSignalBlocker quiet(slider_);
  slider_->setValue(kSliderSteps);
  sliderTime_->setText(tr("Live"));
}

HistoryTime HistoryDock::TimeAt(int position) const {
  return from_ + (to_ - from_) * position / kSliderSteps;
}

void HistoryDock::Picked(int position) {
  if (position >= kSliderSteps) {
    sliderTime_->setText(tr("Live"));
    emit LiveAsked();
    return;
  }
  const HistoryTime when = TimeAt(position);
  sliderTime_->setText(QDateTime::fromMSecsSinceEpoch(when).toString("yyyy-MM-dd HH:mm:ss"));
  emit TimePicked(when);
}

}  // namespace mapvine
