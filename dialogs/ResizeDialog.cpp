#include "dialogs/ResizeDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/DialogNumbers.h"

namespace mapvine {

ResizeDialog::ResizeDialog(int width, int height, QWidget* parent)
    : QDialog(parent), width_(width), height_(height) {
  setWindowTitle(QStringLiteral("Resize Window"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Enter new window size (in pixels)"), this));
  auto* form = new QFormLayout;
  widthBox_ = new QLineEdit(QString::number(width), this);
  widthBox_->setObjectName(QStringLiteral("box1000"));
  heightBox_ = new QLineEdit(QString::number(height), this);
  heightBox_->setObjectName(QStringLiteral("box1001"));
  form->addRow(QStringLiteral("Width:"), widthBox_);
  form->addRow(QStringLiteral("Height:"), heightBox_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ResizeDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ResizeDialog::reject);
  layout->addWidget(buttons);
}

void ResizeDialog::accept() {
  const auto height = ReadBoundedInt(*heightBox_, 0, kMaxPictureSide);
  if (!height) return;
  const auto width = ReadBoundedInt(*widthBox_, 0, kMaxPictureSide);
  if (!width) return;
  width_ = *width;
  height_ = *height;
  QDialog::accept();
}

}  // namespace mapvine
