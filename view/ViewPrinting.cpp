// Printing the picture: the page setup, the print dialog, the default
// printer without a dialog, and the print preview, where the person chooses
// between one page and several. Other commands go on to the node and link
// commands of the context menus, then to the picture commands.
#include <QComboBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

#include <cmath>

#include "base/UserPrompts.h"
#include "export/PageTiling.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

constexpr const char* kNoPicture = "The picture was not printed: there is no picture to print.";
constexpr const char* kNoPrinter = "The picture was not printed: no printer is set up.";

void PrintFitted(QPainter& painter, const QImage& picture) {
  const QRect page = painter.viewport();
  const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), fitted.width(), fitted.height());
  painter.setWindow(picture.rect());
  painter.drawImage(0, 0, picture);
}

// Row by row, each page showing the part of the picture that falls on it.
bool PrintAcrossPages(QPainter& painter, QPrinter& printer, const QImage& picture) {
  const QRect page = painter.viewport();
  const double scale = printer.resolution() / kScreenDotsPerInch;
  bool first = true;
  for (const QRect& part : PartsAcrossPages(picture.size(), QSizeF(page.size()) / scale)) {
    if (!first && !printer.newPage()) return false;
    first = false;
    const QRectF target(page.x(), page.y(), part.width() * scale, part.height() * scale);
    painter.drawImage(target, picture, part);
  }
  return true;
}

}  // namespace

bool CMapvineView::PrintPicture(QPrinter& printer) {
  const QImage picture = PictureImage();
  if (picture.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  bool printed = true;
  if (printLayout_ == PrintLayout::AcrossPages) {
    printed = PrintAcrossPages(painter, printer, picture);
  } else {
    PrintFitted(painter, picture);
  }
  return painter.end() && printed;
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
