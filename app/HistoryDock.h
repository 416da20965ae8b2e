#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <vector>

#include "history/FoldedChanges.h"

class QLabel;
class QSlider;
class QTableView;

namespace mapvine {

// The history's changes, newest first: time, resource, what changed. A
// flapping resource's changes are one row; changes nobody acknowledged
// yet are bold.
class HistoryListModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetChanges(std::vector<ListedChange> changes);
  const ListedChange& ChangeAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<ListedChange> changes_;  // oldest first; rows count from the end
};

// The "History" window: the list, and a time slider over the span it
// covers. Its right end is now (live); anywhere else picks a past time.
class HistoryDock final : public QDockWidget {
  Q_OBJECT
 public:
  explicit HistoryDock(QWidget* parent = nullptr);

  // The rows (oldest first) and the span the slider covers.
  void Show(std::vector<ListedChange> changes, HistoryTime from, HistoryTime to);
  // Back to the live end, without asking for anything.
  void GoLive();
  HistoryListModel& Model() { return model_; }
  QTableView& Table() { return *table_; }
  QSlider& Slider() { return *slider_; }

 signals:
  void TimePicked(qint64 when);
  void LiveAsked();
  void LocateRequested(const QString& name);

 private:
  HistoryTime TimeAt(int position) const;
  void Picked(int position);

  HistoryListModel model_;
  QTableView* table_;
  QSlider* slider_;
  QLabel* sliderTime_;
  HistoryTime from_ = 0;
  HistoryTime to_ = 0;
};

}  // namespace mapvine
