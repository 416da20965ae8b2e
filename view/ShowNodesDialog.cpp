#include "view/ShowNodesDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace mapvine {

ShowNodesDialog::ShowNodesDialog(const std::vector<std::string>& labels, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Show Nodes"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("list1055"));
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const std::string& label : labels) list_->addItem(QString::fromStdString(label));
  // A sorted list box: the labels appear in order whatever the node list's.
  list_->setSortingEnabled(true);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ShowNodesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ShowNodesDialog::reject);
  layout->addWidget(buttons);
}

std::vector<std::string> ShowNodesDialog::SelectedLabels() const {
  std::vector<std::string> labels;
  for (int row = 0; row < list_->count(); ++row) {
    const QListWidgetItem* item = list_->item(row);
    if (item->isSelected()) labels.push_back(item->text().toStdString());
  }
  return labels;
}

}  // namespace mapvine
