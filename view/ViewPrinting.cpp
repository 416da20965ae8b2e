// Printing the picture: the print dialog, the default printer without a
// dialog, and the print preview. Other commands go on to the node and link
// commands of the context menus, then to the picture commands.
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "base/UserPrompts.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

constexpr const char* kNoPicture = "The picture was not printed: there is no picture to print.";
constexpr const char* kNoPrinter = "The picture was not printed: no printer is set up.";

}  // namespace

bool CMapvineView::PrintPicture(QPrinter& printer) {
  const QImage picture = PictureImage();
  if (picture.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), fitted.width(), fitted.height());
  painter.setWindow(picture.rect());
  painter.drawImage(0, 0, picture);
  return painter.end();
}

void CMapvineView::PrintOrSayWhy(QPrinter& printer) {
  if (!HasBuffer()) {
    Prompts().ShowMessage(kNoPicture);
    return;
  }
  // Without any printer Qt falls back to a file printer with no file name.
  const QString destination = printer.outputFormat() == QPrinter::PdfFormat
                                  ? printer.outputFileName()
                                  : printer.printerName();
  if (!printer.isValid() || destination.isEmpty()) {
    Prompts().ShowMessage(kNoPrinter);
    return;
  }
  if (PrintPicture(printer)) return;
  Prompts().ShowMessage("The picture was not printed: \"" + destination.toStdString() +
                        "\" could not be written to.");
}

bool CMapvineView::OnCommand(int id) {
  switch (id) {
    case command::kFilePrint: {
      QPrinter printer;
      QPrintDialog dialog(&printer, this);
      if (dialog.exec() == QDialog::Accepted) PrintOrSayWhy(printer);
      return true;
    }
    case command::kFilePrintDirect: {
      QPrinter printer;  // the default printer
      PrintOrSayWhy(printer);
      return true;
    }
    case command::kFilePrintPreview: {
      QPrintPreviewDialog preview(this);
      connect(&preview, &QPrintPreviewDialog::paintRequested, this,
              [this](QPrinter* printer) { PrintPicture(*printer); });
      preview.exec();
      return true;
    }
    default:
      return OnNodeCommand(id) || OnPictureCommand(id);
  }
}

std::optional<CommandState> CMapvineView::CommandStateOf(int id) const {
  switch (id) {
    case command::kFilePrint:
    case command::kFilePrintDirect:
    case command::kFilePrintPreview:
      // Without a picture there is nothing to print.
      return CommandState{.enabled = HasBuffer(), .checked = false};
    default:
      if (auto state = NodeCommandState(id)) return state;
      return PictureCommandState(id);
  }
}

}  // namespace mapvine
