// Printing the picture: the page setup, the print dialog, the default
// printer without a dialog, and the print preview, where the person chooses
// between one page and several. Other commands go on to the node and link
// commands of the context menus, then to the picture commands.
#include <QComboBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

#include "base/UserPrompts.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

constexpr const char* kNoPicture = "The picture was not printed: there is no picture to print.";
constexpr const char* kNoPrinter = "The picture was not printed: no printer is set up.";

}  // namespace

bool CMapvineView::PrintPicture(QPrinter& printer) {
  return mapvine::PrintPicture(printer, printer.resolution(), PictureImage(), printLayout_);
}

void CMapvineView::ShowPrintPreview() {
  QPrintPreviewDialog preview(printer_.get(), this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* printer) { PrintPicture(*printer); });
  // The one choice a picture needs beside Qt's own: one page or several.
  auto* layout = new QComboBox(&preview);
  layout->addItems({tr("Fit to one page"), tr("Actual size across pages")});
  layout->setCurrentIndex(printLayout_ == PrintLayout::AcrossPages ? 1 : 0);
  auto* pages = preview.findChild<QPrintPreviewWidget*>();
  connect(layout, &QComboBox::currentIndexChanged, this, [this, pages](int index) {
    printLayout_ = index == 1 ? PrintLayout::AcrossPages : PrintLayout::FitToPage;
    if (pages) pages->updatePreview();
  });
  if (auto* toolbar = preview.findChild<QToolBar*>()) {
    toolbar->addSeparator();
    toolbar->addWidget(layout);
  }
  preview.exec();
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
  if (!printer_) printer_ = std::make_unique<QPrinter>();  // the default printer
  switch (id) {
    case command::kFilePageSetup: {
      QPageSetupDialog dialog(printer_.get(), this);
      dialog.exec();
      return true;
    }
    case command::kFilePrint: {
      QPrintDialog dialog(printer_.get(), this);
      if (dialog.exec() == QDialog::Accepted) PrintOrSayWhy(*printer_);
      return true;
    }
    case command::kFilePrintDirect:
      PrintOrSayWhy(*printer_);
      return true;
    case command::kFilePrintPreview:
      ShowPrintPreview();
      return true;
    default:
      return OnNodeCommand(id) || OnPictureCommand(id);
  }
}

std::optional<CommandState> CMapvineView::CommandStateOf(int id) const {
  switch (id) {
    case command::kFilePageSetup:
      return CommandState{};
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
