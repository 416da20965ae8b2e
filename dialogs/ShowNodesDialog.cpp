#include "dialogs/ShowNodesDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "export/NameText.h"

namespace mapvine {

ShowNodesDialog::ShowNodesDialog(const std::vector<std::string>& labels, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Show Nodes"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("list1055"));
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  // A sorted list box: the labels appear from A to Z whatever the node
  // list's order, as a person looks a name up, whatever its letters' case.
  QStringList texts;
  for (const std::string& label : labels) texts.push_back(NameToQt(label));
  std::stable_sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  list_->addItems(texts);
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
    if (!item->isSelected()) continue;
    // Every item came from a label, so it converts back.
    if (auto label = NameFromQt(item->text())) labels.push_back(std::move(*label));
  }
  return labels;
}

}  // namespace mapvine
