#include "app/HelpWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "view/CommandTable.h"

namespace mapvine {
namespace {

// Every command with its keys and what it does, as the menus say it.
QString CommandList() {
  QString html = QStringLiteral("<h2>Commands and keys</h2><table>");
  for (const CommandInfo& info : Commands()) {
    if (info.text == nullptr) continue;
    const QString name = QString::fromUtf8(info.text).remove('&');
    const QString keys = info.keys != nullptr ? QString::fromUtf8(info.keys).replace("; ", ", ") : QString();
    const QString prompt = QString::fromUtf8(info.prompt != nullptr ? info.prompt : "").section('\n', 0, 0);
    html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td></tr>")
                .arg(name.toHtmlEscaped(), keys.toHtmlEscaped(), prompt.toHtmlEscaped());
  }
  return html + QStringLiteral("</table>");
}

}  // namespace

QDialog* CreateHelpWindow(QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setObjectName("helpWindow");
  dialog->setWindowTitle(QObject::tr("Mapvine Help"));
  auto* browser = new QTextBrowser(dialog);
  browser->setObjectName("helpText");
  browser->setOpenExternalLinks(false);
  browser->setSource(QUrl("qrc:/help/help.html"));
  browser->append(CommandList());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(browser);
  layout->addWidget(buttons);
  dialog->resize(560, 520);
  return dialog;
}

}  // namespace mapvine
