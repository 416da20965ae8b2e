#include "dialogs/ModalDialog.h"

namespace mapvine {
namespace {

DialogDriver& InstalledDriver() {
  static DialogDriver driver;
  return driver;
}

}  // namespace

int RunModal(QDialog& dialog) {
  if (const DialogDriver& driver = InstalledDriver()) return driver(dialog);
  return dialog.exec();
}

DialogDriver InstallDialogDriver(DialogDriver driver) {
  DialogDriver previous = std::move(InstalledDriver());
  InstalledDriver() = std::move(driver);
  return previous;
}

}  // namespace mapvine
