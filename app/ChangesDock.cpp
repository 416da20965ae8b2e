#include "app/ChangesDock.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace mapvine {
namespace {

enum Column { kTime, kResource, kWhat, kColumnCount };

}  // namespace

void ChangeListModel::Add(const std::vector<TopologyChange>& changes, const QDateTime& when) {
  if (changes.empty()) return;
  const int count = static_cast<int>(changes.size());
  beginInsertRows({}, 0, count - 1);
  entries_.reserve(entries_.size() + changes.size());
  // Each refresh's own changes keep their order, below those of later refreshes.
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) entries_.push_back({when, *it});
  endInsertRows();
}

const TopologyChange& ChangeListModel::ChangeAt(int row) const {
  return entries_[entries_.size() - 1 - static_cast<std::size_t>(row)].change;
}

int ChangeListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int ChangeListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ChangeListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  const Entry& entry = entries_[entries_.size() - 1 - static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case kTime:
      return entry.when.toString("HH:mm:ss");
    case kResource:
      return QString::fromStdString(ChangeResourceText(entry.change));
    case kWhat:
      return QString::fromUtf8(ChangeDescription(entry.change.kind));
    default:
      return {};
  }
}

QVariant ChangeColumnTitle(int section) {
  switch (section) {
    case kTime:
      return ChangeListModel::tr("Time");
    case kResource:
      return ChangeListModel::tr("Resource");
    case kWhat:
      return ChangeListModel::tr("Change");
    default:
      return {};
  }
}

QVariant ChangeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return ChangeColumnTitle(section);
}

ChangesDock::ChangesDock(QWidget* parent) : QDockWidget(tr("Changes"), parent), table_(new QTableView(this)) {
  setObjectName("ChangesDock");
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  // Every column as wide as its texts, and the window as wide as the
  // columns: nothing is cut to "Ch…".
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) WidenToColumns();
  });
  table_->setWhatsThis(tr("What the refreshes of this session changed, newest first. Double-click an entry "
                          "to locate its resource in the picture."));
  setWidget(table_);
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit LocateRequested(QString::fromStdString(model_.ChangeAt(index.row()).name));
  });
}

void ChangesDock::Add(const std::vector<TopologyChange>& changes, const QDateTime& when) {
  model_.Add(changes, when);
  if (isVisible()) WidenToColumns();
}

void ChangesDock::WidenToColumns() {
  auto* window = qobject_cast<QMainWindow*>(parentWidget());
  if (window == nullptr || isFloating()) return;
  table_->resizeColumnsToContents();
  const int wanted = table_->horizontalHeader()->length() + 2 * table_->frameWidth() +
                     table_->verticalScrollBar()->sizeHint().width() + (width() - table_->width());
  const int widest = window->width() * 2 / 3;
  if (width() < wanted) window->resizeDocks({this}, {std::min(wanted, widest)}, Qt::Horizontal);
}

}  // namespace mapvine
