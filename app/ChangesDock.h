#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QDockWidget>
#include <vector>

#include "model/TopologyChange.h"

class QTableView;

namespace mapvine {

// The titles of a change list's columns: "Time", "Resource", "Change";
// none past them.
QVariant ChangeColumnTitle(int section);

// The changes the refreshes of this session found, newest first: time,
// resource, what changed.
class ChangeListModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // One refresh's changes, all stamped `when`, go on top.
  void Add(const std::vector<TopologyChange>& changes, const QDateTime& when);
  // The change shown in `row`.
  const TopologyChange& ChangeAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct Entry {
    QDateTime when;
    TopologyChange change;
  };
  std::vector<Entry> entries_;  // oldest first; rows count from the end
};

// The "Changes" window: a dock the person can show, hide and move.
// Double-clicking an entry asks to locate its resource.
class ChangesDock final : public QDockWidget {
  Q_OBJECT
 public:
  explicit ChangesDock(QWidget* parent = nullptr);

  void Add(const std::vector<TopologyChange>& changes, const QDateTime& when = QDateTime::currentDateTime());
  ChangeListModel& Model() { return model_; }
  QTableView& Table() { return *table_; }

 signals:
  // The name of the node that shows the resource (a link: its owner end).
  void LocateRequested(const QString& name);

 private:
  // A docked window narrower than its columns grows to show them whole,
  // leaving the picture at least a third of the main window.
  void WidenToColumns();

  ChangeListModel model_;
  QTableView* table_;
};

}  // namespace mapvine
