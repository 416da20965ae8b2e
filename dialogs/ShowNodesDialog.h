#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace mapvine {

// "Show Nodes": the labels of the hidden nodes in a list ("list1055"),
// sorted from A to Z without regard to case, where a click selects or
// deselects one item without touching the others.
class ShowNodesDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit ShowNodesDialog(const std::vector<std::string>& labels, QWidget* parent = nullptr);
  // The selected labels, in the list's order.
  std::vector<std::string> SelectedLabels() const;

 private:
  QListWidget* list_;
};

}  // namespace mapvine
