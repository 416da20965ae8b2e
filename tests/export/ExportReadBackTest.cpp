// Every format the real program exports, read back by that format's own
// reader, on the sample network and on a generated one of a few thousand
// resources.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "snanode/NetworkGenerator.h"
#include "tests/export/PixelMatch.h"

namespace mapvine {
namespace {

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString errors;
};

ToolRun RunTool(const QString& program, const QStringList& args, const QString& network = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (!network.isEmpty()) environment.insert("SNANODE_NETWORK", network);
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  process.start(program, args);
  if (!process.waitForFinished(240000)) return {};
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

int CountAfter(const QString& text, const QString& pattern) {
  const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// One network refreshed and exported in every format by the program.
struct Exports {
  explicit Exports(const QString& networkFile) : network(networkFile) {
    // Refreshed once and saved; the rest open the saved picture, which
    // carries no marks of what the refresh changed over the rendering.
    const QStringList runs[] = {{"--refresh", "--export", At("picture.json"), "--save", At("picture.top")},
                                {At("picture.top"), "--render", At("picture.png"), "--export", At("picture.svg")},
                                {At("picture.top"), "--export", At("picture.pdf")},
                                {At("picture.top"), "--export", At("pages.pdf"), "--export-pages"},
                                {At("picture.top"), "--export", At("picture.graphml")},
                                {At("picture.top"), "--export", At("picture.dot")}};
    for (const QStringList& args : runs) {
      const ToolRun run = RunTool(MAPVINE_BINARY, args, network);
      EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << run.errors.toStdString();
    }
    const ToolRun query = RunTool(MAPVINE_BINARY, {"--query"}, network);
    nodes = CountAfter(query.out, "Picture: (\\d+) nodes");
    links = CountAfter(query.out, "Picture: (\\d+) links");
    QFile file(At("picture.json"));
    if (file.open(QIODevice::ReadOnly)) json = QJsonDocument::fromJson(file.readAll()).object();
  }
  QString At(const QString& name) const { return folder.filePath(name); }

  QTemporaryDir folder;
  QString network;
  QJsonObject json;
  int nodes = -1;
  int links = -1;
};

Exports& ExportsOf(const std::string& network) {
  static std::map<std::string, std::unique_ptr<Exports>> made;
  auto& exports = made[network];
  if (exports) return *exports;
  if (network == "sample") {
    exports = std::make_unique<Exports>(MAPVINE_SOURCE_DIR "/resources/sample.net");
  } else {
    static QTemporaryDir folder;
    const QString path = folder.filePath("generated.net");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(snanode::GenerateNetworkText(3000, 7)));
    file.close();
    exports = std::make_unique<Exports>(path);
  }
  return *exports;
}

// "%1 %2" of graphviz's gc: node and edge counts.
std::pair<int, int> GraphCounts(const QString& dotText) {
  QTemporaryDir folder;
  QFile file(folder.filePath("g.dot"));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(dotText.toUtf8());
  file.close();
  const QStringList words = RunTool("gc", {"-n", "-e", file.fileName()}).out.split(' ', Qt::SkipEmptyParts);
  return words.size() >= 2 ? std::pair{words[0].toInt(), words[1].toInt()} : std::pair{-1, -1};
}

std::pair<int, int> GraphCountsOfFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? GraphCounts(QString::fromUtf8(file.readAll())) : std::pair{-1, -1};
}

class ExportReadBack : public ::testing::TestWithParam<std::string> {
 protected:
  Exports& exports = ExportsOf(GetParam());
};

TEST_P(ExportReadBack, SvgDrawnByLibrsvgMatchesTheRenderedPicture) {
  const QString drawn = exports.At("svg.png");
  ASSERT_EQ(RunTool("rsvg-convert", {exports.At("picture.svg"), "-o", drawn}).exitCode, 0);
  const QImage svg = QImage(drawn).convertToFormat(QImage::Format_RGB32);
  const QImage render = QImage(exports.At("picture.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(svg.size(), render.size());
  // librsvg draws glyphs unhinted whatever the file asks, the picture
  // hinted: each glyph stands on the picture's pixel, yet differs in a few
  // of its own, and nearly all the pixels that differ lie in labels.
  const auto renderAt = [&render](int x, int y) { return render.valid(x, y) ? render.pixel(x, y) : 0u; };
  const double exact = testing::ShareMatching(svg, renderAt, false), near = testing::ShareMatching(svg, renderAt, true);
  std::printf("%s: %.2f%% of the pixels match, %.2f%% within a pixel\n", GetParam().c_str(), 100 * exact, 100 * near);
  EXPECT_GE(exact, 0.99);
  EXPECT_GE(near, 0.999);
  // Each distinct image once: a background and a handful of icon kinds.
  QFile file(exports.At("picture.svg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_LE(file.readAll().count("<image "), 12);
}

TEST_P(ExportReadBack, GraphMlValidatesAgainstTheSchemaAndGraphvizCountsIt) {
  const ToolRun lint = RunTool("xmllint", {"--noout", "--schema", MAPVINE_SOURCE_DIR "/tests/export/graphml.xsd",
                                       exports.At("picture.graphml")});
  EXPECT_EQ(lint.exitCode, 0) << lint.errors.toStdString();
  const ToolRun read = RunTool("graphml2gv", {exports.At("picture.graphml")});
  ASSERT_EQ(read.exitCode, 0) << read.errors.toStdString();
  EXPECT_EQ(GraphCounts(read.out), std::pair(exports.nodes, exports.links));
}

TEST_P(ExportReadBack, DotParsesAndNeatoKeepsEveryPosition) {
  EXPECT_EQ(RunTool("dot", {"-Tcanon", exports.At("picture.dot")}).exitCode, 0);
  EXPECT_EQ(GraphCountsOfFile(exports.At("picture.dot")), std::pair(exports.nodes, exports.links));
  // neato -n2 lays nothing out: each node stays where the picture has it,
  // in inches from the bottom-left corner.
  const ToolRun laidOut = RunTool("neato", {"-n2", "-Tjson", exports.At("picture.dot")});
  ASSERT_EQ(laidOut.exitCode, 0) << laidOut.errors.toStdString();
  const double height = exports.json["height"].toDouble();
  std::map<QString, QStringList> placed;
  for (const QJsonValue object : QJsonDocument::fromJson(laidOut.out.toUtf8())["objects"].toArray()) {
    placed[object["name"].toString()] = object["pos"].toString().split(',');
  }
  const QJsonArray nodes = exports.json["nodes"].toArray();
  ASSERT_EQ(placed.size(), static_cast<std::size_t>(nodes.size()));
  for (const QJsonValue& node : nodes) {
    const QStringList pos = placed[node["id"].toString()];
    ASSERT_EQ(pos.size(), 2);
    EXPECT_NEAR(pos[0].toDouble() / 0.75, node["x"].toDouble(), 0.1);
    EXPECT_NEAR(pos[1].toDouble() / 0.75, height - node["y"].toDouble(), 0.1);
  }
}

TEST_P(ExportReadBack, PdfHoldsEveryLabelAsTextOnOnePageOrAcrossPages) {
  for (const auto& [file, onePage] : {std::pair{"picture.pdf", true}, std::pair{"pages.pdf", false}}) {
    const ToolRun info = RunTool("pdfinfo", {exports.At(file)});
    ASSERT_EQ(info.exitCode, 0) << info.errors.toStdString();
    const int pages = CountAfter(info.out, "Pages:\\s+(\\d+)");
    // The generated picture is larger than an A4 page, the sample is not.
    if (onePage || GetParam() == "sample") {
      EXPECT_EQ(pages, onePage ? 1 : 2) << file;
    } else {
      EXPECT_GT(pages, 4) << file;
    }
    const QString text = RunTool("pdftotext", {exports.At(file), "-"}).out;
    for (const QJsonValue& node : exports.json["nodes"].toArray()) {
      EXPECT_TRUE(text.contains(node["label"].toString())) << file << " " << node["label"].toString().toStdString();
    }
  }
}

TEST_P(ExportReadBack, JsonValidatesAgainstItsSchema) {
  const ToolRun check = RunTool("/usr/bin/python3", {"-c",
                                                 "import json, sys, jsonschema\n"
                                                 "jsonschema.validate(json.load(open(sys.argv[1])), "
                                                 "json.load(open(sys.argv[2])))",
                                                 exports.At("picture.json"), MAPVINE_SOURCE_DIR "/docs/export.schema.json"});
  EXPECT_EQ(check.exitCode, 0) << check.errors.toStdString();
  EXPECT_EQ(exports.json["nodes"].toArray().size(), exports.nodes);
  EXPECT_EQ(exports.json["links"].toArray().size(), exports.links);
}

INSTANTIATE_TEST_SUITE_P(Networks, ExportReadBack, ::testing::Values("sample", "generated"));

}  // namespace
}  // namespace mapvine
