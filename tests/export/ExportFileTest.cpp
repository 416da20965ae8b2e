// The export layer alone: names that need escaping, hidden nodes, and
// files that cannot be written, each format read back by its own reader.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "base/UserPrompts.h"
#include "export/ExportedPicture.h"
#include "export/IndexedImage.h"
#include "export/LabelFont.h"
#include "export/NameShaping.h"
#include "export/PdfDocument.h"
#include "export/PdfPagePreparation.h"
#include "export/PictureExport.h"
#include "model/LuFold.h"
#include "model/SavedTopology.h"
#include "snanode/NetworkGenerator.h"
#include "tests/export/PixelMatch.h"
#include "tests/support/ScriptedPrompts.h"

namespace mapvine {
namespace {

// Labels a person may type: quotes, markup, a backslash, a Latin-1 letter.
constexpr const char* kShownLabel = "A<&\"\\\xE9>";
constexpr const char* kHiddenLabel = "HIDDEN1";

struct Picture {
  Picture() {
    doc.SetHeadless(true);
    doc.NewDocument();
    doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
    doc.NewNode("LU1", "NETA.LU1", LogicalUnit, nullptr, nullptr);
    doc.NewNode(kHiddenLabel, "NETA.HIDDEN1", EndNode, nullptr, nullptr);
    doc.NewLink("NN1", "LU1", true, 0, nullptr);
    doc.NewLink("NN1", kHiddenLabel, false, 7, nullptr);
    doc.RenameNode(*doc.FindNode("NN1"), kShownLabel);
    doc.FindNode(kHiddenLabel)->hidden = true;
  }
  CMapvineDoc doc;
};

QString ReadBack(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ExportFile, EveryFormatReadsBackWithEscapedNamesAndHiddenNodesOnlyWhenAsked) {
  struct Row {
    const char* file;
    QString program;
    QStringList args;  // the file's path is appended
  };
  const Row rows[] = {
      {"p.svg", "xmllint", {"--encode", "UTF-8"}},
      {"p.graphml", "xmllint", {"--encode", "UTF-8", "--schema", MAPVINE_SOURCE_DIR "/tests/export/graphml.xsd"}},
      {"p.dot", "dot", {"-Tcanon"}},
      {"p.json", "/usr/bin/python3", {"-c", "import json,sys; print(json.dumps(json.load(open(sys.argv[1])), ensure_ascii=False))"}},
      {"p.pdf", "pdftotext", {"-enc", "UTF-8"}},
  };
  Picture picture;
  const QString shown = QString::fromLatin1(kShownLabel);
  // Every file is written before any reader starts: once this process has
  // started a program, ThreadSanitizer no longer sees the locks its main
  // thread takes, and the PDF's writer hands over under one.
  QTemporaryDir folder;
  const auto pathOf = [&folder](const Row& row, bool all) {
    return folder.filePath((all ? "all-" : "shown-") + QString::fromLatin1(row.file));
  };
  for (const bool all : {false, true}) {
    for (const Row& row : rows) {
      ASSERT_TRUE(ExportPicture(picture.doc, pathOf(row, all).toStdString(), *ExportFormatOf(row.file),
                                {.includeHidden = all}));
    }
  }
  for (const bool all : {false, true}) {
    for (const Row& row : rows) {
      const QString path = pathOf(row, all);
      QStringList args = row.args + QStringList{path};
      if (row.program == "pdftotext") args << "-";
      QString text = ReadBack(row.program, args);
      // Markup readers give the names back escaped as they were written.
      text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
      if (row.program != "xmllint") text.replace("\\\\", "\\").replace("\\\"", "\"");
      EXPECT_TRUE(text.contains(shown)) << row.file << "\n" << text.toStdString();
      EXPECT_EQ(text.contains(kHiddenLabel), all) << row.file << (all ? " with" : " without") << " hidden nodes";
    }
  }
}

TEST(ExportFile, TheSvgBackgroundIsLaidOutAsThePictureLaysItOut) {
  for (const auto arrangement :
       {BackgroundArrangement::Tile, BackgroundArrangement::Stretch, BackgroundArrangement::Centre}) {
    CMapvineDoc doc;
    doc.SetHeadless(true);
    doc.NewDocument();
    // Larger than the background one way and smaller the other, so that
    // centring leaves parts uncovered and cuts others; stretched only
    // larger, where viewers do not smooth the image.
    const bool stretched = arrangement == BackgroundArrangement::Stretch;
    const int width = doc.backgroundSource->GetWidth() * 3 / 2;
    const int height = doc.backgroundSource->GetHeight() * (stretched ? 5 : 2) / 4;
    doc.ComposeBackground(nullptr, arrangement, width, height);
    QTemporaryDir folder;
    const QString svg = folder.filePath("b.svg"), png = folder.filePath("b.png");
    ASSERT_TRUE(ExportPicture(doc, svg.toStdString(), ExportFormat::Svg, {}));
    ReadBack("rsvg-convert", {svg, "-o", png});
    const QImage drawn(png);
    ASSERT_EQ(drawn.size(), QSize(width, height));
    const ComposedBackground expected(*doc.backgroundSource, width, height, arrangement);
    const std::array<QRgb, 256> colours = ColorTableOf(*doc.backgroundSource);
    const auto expectedAt = [&](int x, int y) { return colours[expected.PixelAt(x, y)]; };
    // librsvg samples a stretched image at pixel centres, the picture at
    // their corners.
    EXPECT_GE(testing::ShareMatching(drawn.convertToFormat(QImage::Format_RGB32), expectedAt, stretched), 0.99)
        << static_cast<int>(arrangement);
  }
}

TEST(ExportFile, APdfIconDrawnAfterALabelCoversItAsInThePicture) {
  CMapvineDoc doc;
  doc.SetHeadless(true);
  doc.NewDocument();
  doc.NewNode("WWWWWW", "NETA.WWWWWW", NetworkNode, nullptr, nullptr);
  doc.NewNode("MMMMMM", "NETA.MMMMMM", NetworkNode, nullptr, nullptr);
  // The first drawn and the one drawn later, in the node list's order.
  const CNode& first = *doc.Nodes().begin()->get();
  CNode& later = *std::next(doc.Nodes().begin())->get();
  later.SetPosition(first.GetRect().left, first.LabelArea().top - later.GetRect().Height() / 2);
  const ExportedPicture picture = CollectPicture(doc, false);
  ASSERT_EQ(picture.nodes.size(), 2u);
  QTemporaryDir folder;
  const QString pdf = folder.filePath("o.pdf");
  ASSERT_TRUE(ExportPicture(doc, pdf.toStdString(), ExportFormat::Pdf, {}));
  ReadBack("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, folder.filePath("o")});
  const QImage drawn = QImage(folder.filePath("o.png")).convertToFormat(QImage::Format_RGB32);
  const QImage icon =
      picture.images.Icons()[static_cast<std::size_t>(picture.nodes[1].image)].convertToFormat(QImage::Format_ARGB32);
  // The first label's strokes would show as pixels far lighter than the
  // later icon where it is opaque.
  int lighter = 0, opaque = 0;
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) {
      if (qAlpha(icon.pixel(x, y)) < 255) continue;
      ++opaque;
      lighter += qGray(drawn.pixel(later.GetRect().left + x, later.GetRect().top + y)) > qGray(icon.pixel(x, y)) + 96;
    }
  }
  EXPECT_GT(opaque, 200);
  EXPECT_LT(lighter, 4);
  EXPECT_TRUE(ReadBack("pdftotext", {pdf, "-"}).contains(QString::fromStdString(first.label)));
}

// A label with a letter the label face lacks is laid out across faces and
// goes down as text Qt lays out itself; a reader still finds it whole,
// beside labels that go down as one face's glyphs. The program gets a face
// without Latin-1's upper half, cut from the packaged one, through a
// fontconfig file of its own.
TEST(ExportFile, ALabelAcrossFacesIsStillWholeText) {
  QTemporaryDir folder;
  const QString face = folder.filePath("ascii.ttf");
  ASSERT_EQ(QProcess::execute("/usr/bin/python3",
                              {"-c",
                               "import sys\n"
                               "from fontTools import subset, ttLib\n"
                               "font = ttLib.TTFont(sys.argv[1])\n"
                               "cut = subset.Subsetter()\n"
                               "cut.populate(unicodes=range(0x20, 0x7f))\n"
                               "cut.subset(font)\n"
                               "for name in font['name'].names:\n"
                               "  if name.nameID in (1, 4, 6, 16): name.string = 'AsciiSans'\n"
                               "font.save(sys.argv[2])\n",
                               "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", face}),
            0);
  QFile config(folder.filePath("fonts.conf"));
  ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  config.write(QStringLiteral("<fontconfig><dir>%1</dir><dir>/usr/share/fonts/truetype/dejavu</dir>"
                              "<cachedir>%1</cachedir><alias binding=\"strong\"><family>Sans Serif</family>"
                              "<prefer><family>AsciiSans</family></prefer></alias>"
                              // Metrics as the system's settings give them.
                              "<match target=\"font\"><edit name=\"hintstyle\" mode=\"assign\">"
                              "<const>hintslight</const></edit></match></fontconfig>")
                   .arg(folder.path())
                   .toUtf8());
  config.close();
  Picture picture;
  const QString top = folder.filePath("p.top");
  const QString pdf = folder.filePath("p.pdf");
  ASSERT_TRUE(SaveTopologyFile(picture.doc, top.toStdString()));
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("FONTCONFIG_FILE", config.fileName());
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(environment);
  program.start(MAPVINE_BINARY, {top, "--export", pdf});
  ASSERT_TRUE(program.waitForFinished(60000));
  ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  const QString fonts = ReadBack("pdffonts", {pdf});
  EXPECT_TRUE(fonts.contains("AsciiSans")) << fonts.toStdString();
  EXPECT_GE(fonts.count("DejaVu"), 1) << "the missing letter's face: " << fonts.toStdString();
  const QString text = ReadBack("pdftotext", {"-enc", "UTF-8", pdf, "-"});
  EXPECT_TRUE(text.contains(QString::fromLatin1(kShownLabel))) << text.toStdString();
  EXPECT_TRUE(text.contains("LU1")) << text.toStdString();
}

TEST(ExportFile, APathThatCannotBeWrittenSaysSoAndLeavesNothingBehind) {
  Picture picture;
  QTemporaryDir folder;
  const QString existing = folder.filePath("kept.json");
  for (const QString& path : {folder.filePath("missing/p.svg"), folder.path(), existing + "/p.dot"}) {
    QFile kept(existing);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    testing::ScriptedPrompts prompts;
    EXPECT_FALSE(ExportPicture(picture.doc, path.toStdString(), *ExportFormatOf(path.toStdString() + ".svg"), {}));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(CDIB::kFailedToSave)}) << path.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"kept.json"});
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "kept");
  }
}

TEST(ExportFile, AStoppedWriteLeavesTheFileOfThatNameAsItWas) {
  Picture picture;
  const ExportedPicture copy = CollectPicture(picture.doc, false);
  for (const ExportFormatRow& row : ExportFormats()) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("p") + row.extension);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    WorkProgress progress;
    progress.stopRequested = true;
    EXPECT_EQ(WritePicture(copy, path.toStdString(), row.format, {}, progress), ExportOutcome::Stopped) << row.extension;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << row.extension;
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "kept");
  }
}

// A stop that comes while Qt's writer ends a PDF (compressing the page it
// drew) does not wait for it: the writer ends alone, and nothing more
// reaches the file once the stop returned.
TEST(ExportFile, APdfStoppedAsItsWriterEndsReturnsAtOnceAndWritesNoMore) {
  QBuffer file;
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  WorkProgress progress;
  const bool complete = WritePdfDocument(
      file,
      [&progress](QPdfWriter& pdf, QPainter& painter) {
        if (!painter.begin(&pdf)) return false;
        for (int i = 0; i < 20000; ++i) painter.drawLine(i % 300, 0, 0, i % 400);
        progress.stopRequested = true;  // as the drawing was over
        return true;
      },
      progress);
  EXPECT_FALSE(complete);
  const qint64 sizeAtStop = file.size();
  EXPECT_TRUE(WorkerThread::FinishLetGoWorkers(std::chrono::seconds(30)));
  EXPECT_EQ(file.size(), sizeAtStop);
}

// A PDF's pages are deflated at zlib's fast level on the writer's own
// thread, while a stream another thread starts keeps the level it asks for.
TEST(ExportFile, OnlyThePdfWritersPagesAreDeflatedFast) {
  QBuffer file;
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QByteArray elsewhere;  // deflated on another thread while the writer writes
  ASSERT_TRUE(WritePdfDocument(file, [&elsewhere](QPdfWriter& pdf, QPainter& painter) {
    std::thread([&elsewhere] { elsewhere = qCompress("APPN").mid(4); }).join();
    if (!painter.begin(&pdf) || !pdf.newPage()) return false;
    painter.drawLine(0, 0, 100, 100);
    return true;
  }, WorkProgress{}));
  // zlib marks a stream's level in its second byte: 1 fast, 2 its default.
  const auto levelMark = [](const QByteArray& stream) { return static_cast<unsigned char>(stream.at(1)) >> 6; };
  EXPECT_EQ(levelMark(elsewhere), 2);
  const QByteArray pdf = file.data();
  const QByteArray start(">>\nstream\n");
  int pages = 0;
  for (qsizetype at = pdf.indexOf(start); at >= 0; at = pdf.indexOf(start, at + 1), ++pages) {
    EXPECT_EQ(levelMark(pdf.mid(at + start.size(), 2)), 1);
  }
  EXPECT_GE(pages, 2);
}

// Names laid out from the table land glyph for glyph, pixel for pixel,
// where Qt's own layout puts them; anything else is left to that layout.
TEST(ExportFile, PdfNamesLaidOutFromTheTableMatchQtsLayoutAndTheRestIsLeftToIt) {
  const QFont font = LabelFont();
  const NameShaping names(font);
  // Generated names, qualified and not, and runs of pairs that kern.
  QStringList texts = {"AVATAR", "LTYWAV.T", "T.A.V.Y", "W@#$A7", "ZZ9AT@Y"};
  for (const snanode::Resource& resource : snanode::GenerateNetwork(3000, 7).resources) {
    texts << QString::fromStdString(resource.name) << QString::fromStdString(resource.name).section('.', 1);
  }
  const QStringList others = {"ab", "A B", QString::fromUtf8("\xC3\x89T"), ""};
  for (const QString& text : texts + others) {
    QList<quint32> glyphs;
    QList<QPointF> positions;
    double width = 0;
    const bool shaped = names.Shape(text, glyphs, positions, width);
    if (others.contains(text)) {
      EXPECT_FALSE(shaped || !glyphs.isEmpty()) << text.toStdString();
      continue;
    }
    double qtWidth = 0;
    const QList<QGlyphRun> runs = PlacedGlyphRuns(text, font, &qtWidth);
    ASSERT_TRUE(shaped && runs.size() == 1) << text.toStdString();
    EXPECT_EQ(glyphs, runs.front().glyphIndexes()) << text.toStdString();
    EXPECT_EQ(positions, runs.front().positions()) << text.toStdString();
    EXPECT_EQ(width, qtWidth) << text.toStdString();
  }
}

// An owner that folds its LUs is written with their count as its mark, and
// they are not written, nor their links to it, unless hidden nodes are
// asked for too: then they are, and no owner shows a mark. Each link keeps
// its kind and joins the nodes it joins in the picture.
TEST(ExportFile, FoldedLusAreWrittenAsTheirOwnersMarkOnly) {
  CMapvineDoc doc;
  doc.SetHeadless(true);
  doc.NewDocument();
  for (const char* name : {"NN1", "LU1", "NN2", "LU2"}) {
    doc.NewNode(name, std::string("NETA.") + name, name[0] == 'L' ? LogicalUnit : NetworkNode, nullptr, nullptr);
  }
  doc.NewLink("NN1", "LU1", true, 0, nullptr);
  doc.NewLink("NN1", "LU2", true, 0, nullptr);
  doc.NewLink("NN1", "NN2", false, 21, nullptr);
  ASSERT_TRUE(SetLusFolded(doc, *doc.FindNode("NN1"), true));
  for (const bool all : {false, true}) {
    const ExportedPicture picture = CollectPicture(doc, all);
    std::vector<std::string> names;
    for (const ExportedNode& node : picture.nodes) names.push_back(node.label + ":" + std::to_string(node.foldedLus));
    std::sort(names.begin(), names.end());
    const std::vector<std::string> allNames{"LU1:0", "LU2:0", "NN1:0", "NN2:0"};
    const std::vector<std::string> shownNames{"NN1:2", "NN2:0"};
    EXPECT_EQ(names, all ? allNames : shownNames);
    std::vector<std::string> links;
    for (const ExportedLink& link : picture.links) {
      links.push_back(picture.nodes[static_cast<std::size_t>(link.from)].label + "-" +
                      picture.nodes[static_cast<std::size_t>(link.to)].label + " " +
                      std::string(LinkKindName(link.kind)));
    }
    std::sort(links.begin(), links.end());
    const std::vector<std::string> allLinks{"NN1-LU1 owner", "NN1-LU2 owner", "NN1-NN2 tg"};
    const std::vector<std::string> shownLinks{"NN1-NN2 tg"};
    EXPECT_EQ(links, all ? allLinks : shownLinks);
  }
}

TEST(ExportFile, TheExtensionNamesTheFormatInAnyCase) {
  EXPECT_EQ(ExportFormatOf("a/B.SVG"), ExportFormat::Svg);
  EXPECT_EQ(ExportFormatOf("x.Pdf"), ExportFormat::Pdf);
  EXPECT_EQ(ExportFormatOf("net.graphml"), ExportFormat::GraphMl);
  EXPECT_EQ(ExportFormatOf("net.dot"), ExportFormat::Dot);
  EXPECT_EQ(ExportFormatOf("net.json"), ExportFormat::Json);
  for (const char* refused : {"net.png", "net", ".svg", "net.svg.bak"}) EXPECT_EQ(ExportFormatOf(refused), std::nullopt) << refused;
}

}  // namespace
}  // namespace mapvine
