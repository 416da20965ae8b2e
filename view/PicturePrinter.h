#pragma once

#include <QImage>

#include <functional>
#include <memory>

#include "render/PicturePrinting.h"
#include "view/CommandBindings.h"

class QPrinter;
class QWidget;

namespace mapvine {

// Printing the picture: the page setup, the print dialog, the default
// printer without a dialog, and the print preview, where the person chooses
// between one page and several. The printer is made when first needed and
// kept, so that the page setup holds for later prints.
class PicturePrinter {
 public:
  // `dialogParent` owns the dialogs; `picture` draws the whole picture to
  // print, and `hasPicture` tells whether there is one.
  PicturePrinter(QWidget& dialogParent, std::function<QImage()> picture,
                 std::function<bool()> hasPicture);
  ~PicturePrinter();

  void SetLayout(PrintLayout layout) { layout_ = layout; }
  PrintLayout Layout() const { return layout_; }
  // The picture as the layout says, keeping its proportions. False when
  // nothing was printed: no picture, or the printer would not start.
  bool Print(QPrinter& printer);
  // Prints, or tells the user why the picture was not printed.
  void PrintOrSayWhy(QPrinter& printer);

  // The page setup, print and print preview.
  void BindCommands(CommandBindings& commands);

 private:
  QPrinter& Printer();
  void ShowPreview();

  QWidget& parent_;
  std::function<QImage()> picture_;
  std::function<bool()> hasPicture_;
  std::unique_ptr<QPrinter> printer_;
  PrintLayout layout_ = PrintLayout::FitToPage;
};

}  // namespace mapvine
