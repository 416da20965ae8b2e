// A PDF's pages are deflated at zlib's fast level on the writer's own
// thread, while a stream anyone else starts keeps the level it asked for.
#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>
#include <zlib.h>

#include <thread>

#include "export/PdfDocument.h"

namespace mapvine {
namespace {

// zlib's mark of a stream's level in its header: 1 fast, 2 default.
int LevelMark(const QByteArray& stream) { return stream.size() > 1 ? static_cast<unsigned char>(stream[1]) >> 6 : -1; }

// The mark of a stream started at zlib's default level on this thread.
int DefaultLevelMark() {
  z_stream stream{};
  QByteArray out(64, '\0');
  if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK) return -1;
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  deflateEnd(&stream);
  return LevelMark(out);
}

TEST(FastDeflate, OnlyThePdfWritersPagesAreDeflatedFast) {
  QBuffer file;
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  int elsewhere = -1;  // while the writer writes
  ASSERT_TRUE(WritePdfDocument(file, [&elsewhere](QPdfWriter& pdf, QPainter& painter) {
    std::thread([&elsewhere] { elsewhere = DefaultLevelMark(); }).join();
    if (!painter.begin(&pdf) || !pdf.newPage()) return false;
    painter.drawLine(0, 0, 100, 100);
    return true;
  }, WorkProgress{}));
  const QByteArray pdf = file.data();
  const QByteArray start(">>\nstream\n");
  int pages = 0;
  for (qsizetype at = pdf.indexOf(start); at >= 0; at = pdf.indexOf(start, at + 1), ++pages) {
    EXPECT_EQ(LevelMark(pdf.mid(at + start.size(), 2)), 1);
  }
  EXPECT_GE(pages, 2);
  EXPECT_EQ(elsewhere, 2);
}

}  // namespace
}  // namespace mapvine
