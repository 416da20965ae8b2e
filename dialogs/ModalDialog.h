#pragma once

#include <QDialog>

#include <functional>

namespace mapvine {

// Works a modal dialog in place of the user and answers its result code.
using DialogDriver = std::function<int(QDialog& dialog)>;

// Runs `dialog` modally and answers QDialog::Accepted or QDialog::Rejected.
// With a driver installed, the driver works the dialog instead, so that
// tests never wait for a click.
int RunModal(QDialog& dialog);

// Installs `driver` (or the plain modal loop when empty) and answers the one
// installed before.
DialogDriver InstallDialogDriver(DialogDriver driver);

}  // namespace mapvine
