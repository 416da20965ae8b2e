#include "view/PicturePrinter.h"

#include <QComboBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

#include "base/UserPrompts.h"
#include "view/CommandIds.h"

namespace mapvine {

namespace {

constexpr const char* kNoPicture = "The picture was not printed: there is no picture to print.";
constexpr const char* kNoPrinter = "The picture was not printed: no printer is set up.";

}  // namespace

PicturePrinter::PicturePrinter(QWidget& dialogParent, std::function<QImage()> picture,
                               std::function<bool()> hasPicture)
    : parent_(dialogParent), picture_(std::move(picture)), hasPicture_(std::move(hasPicture)) {}

PicturePrinter::~PicturePrinter() = default;

QPrinter& PicturePrinter::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>();  // the default printer
  return *printer_;
}

bool PicturePrinter::Print(QPrinter& printer) {
  return PrintPicture(printer, printer.resolution(), picture_(), layout_);
}

void PicturePrinter::ShowPreview() {
  QPrintPreviewDialog preview(&Printer(), &parent_);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &parent_,
                   [this](QPrinter* printer) { Print(*printer); });
  // The one choice a picture needs beside Qt's own: one page or several.
  auto* layout = new QComboBox(&preview);
  layout->addItems({QObject::tr("Fit to one page"), QObject::tr("Actual size across pages")});
  layout->setCurrentIndex(layout_ == PrintLayout::AcrossPages ? 1 : 0);
  auto* pages = preview.findChild<QPrintPreviewWidget*>();
  QObject::connect(layout, &QComboBox::currentIndexChanged, &parent_, [this, pages](int index) {
    layout_ = index == 1 ? PrintLayout::AcrossPages : PrintLayout::FitToPage;
    if (pages) pages->updatePreview();
  });
  if (auto* toolbar = preview.findChild<QToolBar*>()) {
    toolbar->addSeparator();
    toolbar->addWidget(layout);
  }
  preview.exec();
}

void PicturePrinter::PrintOrSayWhy(QPrinter& printer) {
  if (!hasPicture_()) {
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
  if (Print(printer)) return;
  Prompts().ShowMessage("The picture was not printed: \"" + destination.toStdString() +
                        "\" could not be written to.");
}

void PicturePrinter::BindCommands(CommandBindings& commands) {
  commands.Bind(command::kFilePageSetup, [this] {
    QPageSetupDialog dialog(&Printer(), &parent_);
    dialog.exec();
  });
  // Without a picture there is nothing to print.
  const auto needsPicture = [this] { return CommandState{.enabled = hasPicture_(), .checked = false}; };
  commands.Bind(
      command::kFilePrint,
      [this] {
        QPrintDialog dialog(&Printer(), &parent_);
        if (dialog.exec() == QDialog::Accepted) PrintOrSayWhy(Printer());
      },
      needsPicture);
  commands.Bind(command::kFilePrintPreview, [this] { ShowPreview(); }, needsPicture);
}

}  // namespace mapvine
