#include "app/QtPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/RememberedSettings.h"

namespace mapvine {
namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A chosen file's folder is where the next dialog for such files opens.
std::optional<std::string> Chosen(std::string_view filter, const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  RememberFolderOf(filter, path);
  return path.toStdString();
}

}  // namespace

QString QtFileFilter(std::string_view filter) {
  const QStringList parts = FromView(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    if (description.isEmpty()) break;  // the "||" that ends the list
    // Qt shows the patterns it reads from the brackets; a description that
    // spells them its own way ("(*.DIB, *.BMP)") would show them twice.
    if (description.endsWith(')')) {
      const qsizetype open = description.lastIndexOf('(');
      if (open > 0) description = description.left(open).trimmed();
    }
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      // "*.*" means every file on Windows, but only names with a dot here.
      if (pattern == "*.*") pattern = "*";
    }
    filters << description + " (" + patterns.join(' ') + ')';
  }
  return filters.join(";;");
}

QtPrompts::QtPrompts(QWidget* parent, QString title)
    : parent_(parent), title_(std::move(title)), previous_(InstallPrompts(this)) {}

QtPrompts::~QtPrompts() { InstallPrompts(previous_); }

void QtPrompts::ShowMessage(std::string_view text) {
  QMessageBox::information(parent_, title_, FromView(text));
}

void QtPrompts::ShowWarning(std::string_view text) {
  QMessageBox::warning(parent_, title_, FromView(text));
}

bool QtPrompts::AskYesNo(std::string_view question) {
  return QMessageBox::question(parent_, title_, FromView(question), QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::AskOpenFileName(std::string_view filter) {
  return Chosen(filter, QFileDialog::getOpenFileName(parent_, {}, LastFolderFor(filter), QtFileFilter(filter)));
}

std::optional<std::string> QtPrompts::AskSaveFileName(std::string_view filter) {
  return Chosen(filter, QFileDialog::getSaveFileName(parent_, {}, LastFolderFor(filter), QtFileFilter(filter)));
}

}  // namespace mapvine
