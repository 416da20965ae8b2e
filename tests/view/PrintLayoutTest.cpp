#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

int PagesIn(const QString& pdf) {
  QFile file(pdf);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page\\b")));
}

TEST(PrintLayout, ALargePictureFitsOnePageOrSpreadsAcrossPagesAtScreenSize) {
  ShownDocument s;
  ASSERT_TRUE(s.doc.ComposeBackground(nullptr, kArrangementChosenInView, 2400, 1500));
  QTemporaryDir folder;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double scale = printer.resolution() / 96.0;
  const int across = static_cast<int>(std::ceil(2400 * scale / page.width()) * std::ceil(1500 * scale / page.height()));
  ASSERT_GT(across, 1);

  const struct {
    PrintLayout layout;
    int pages;
  } cases[] = {{PrintLayout::FitToPage, 1}, {PrintLayout::AcrossPages, across}};
  for (const auto& c : cases) {
    const QString pdf = folder.filePath(QString("layout%1.pdf").arg(c.pages));
    printer.setOutputFileName(pdf);
    s.view.Printing().SetLayout(c.layout);
    ASSERT_TRUE(s.view.Printing().Print(printer));
    EXPECT_EQ(PagesIn(pdf), c.pages);
  }
}

}  // namespace
}  // namespace mapvine
