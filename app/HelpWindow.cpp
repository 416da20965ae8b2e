#include "app/HelpWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace mapvine {

QDialog* CreateHelpWindow(QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setObjectName("helpWindow");
  dialog->setWindowTitle(QObject::tr("Mapvine Help"));
  auto* browser = new QTextBrowser(dialog);
  browser->setObjectName("helpText");
  browser->setOpenExternalLinks(false);
  browser->setSource(QUrl("qrc:/help/help.html"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(browser);
  layout->addWidget(buttons);
  dialog->resize(560, 520);
  return dialog;
}

}  // namespace mapvine
