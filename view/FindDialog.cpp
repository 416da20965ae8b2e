#include "view/FindDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "view/NameText.h"

namespace mapvine {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Locate Resource"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Enter Resource Name to Find:"), this));
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("box1056"));
  layout->addWidget(name_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &FindDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &FindDialog::reject);
  layout->addWidget(buttons);
}

std::optional<std::string> FindDialog::Text() const { return NameFromQt(name_->text()); }

void FindDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The user types the name at once, without clicking into the box.
  name_->setFocus();
}

}  // namespace mapvine
