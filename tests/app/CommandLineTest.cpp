#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/ExportDialog.h"
#include "app/QtPrompts.h"

namespace mapvine {
namespace {

using Mode = CommandLine::Mode;

struct Accepted {
  std::vector<std::string> args;
  Mode mode;
  bool trace, refresh;
  std::string file, render, save;
};

TEST(CommandLineParsing, AcceptedLines) {
  const Accepted cases[] = {
      {{}, Mode::Window, false, false, "", "", ""},
      {{"pic.top"}, Mode::Window, false, false, "pic.top", "", ""},
      {{"--help"}, Mode::Help, false, false, "", "", ""},
      {{"--query"}, Mode::Query, false, false, "", "", ""},
      {{"--query", "--trace"}, Mode::Query, true, false, "", "", ""},
      {{"--trace", "--query"}, Mode::Query, true, false, "", "", ""},
      {{"--refresh", "--render", "out.png"}, Mode::Window, false, true, "", "out.png", ""},
      {{"a.top", "--save", "b.top", "--render", "b.png", "--trace"}, Mode::Window, true, false, "a.top", "b.png",
       "b.top"},
      {{"--version"}, Mode::Version, false, false, "", "", ""},
      // Qt's options are not arguments of --help and --version.
      {{"-platform", "offscreen", "--help"}, Mode::Help, false, false, "", "", ""},
      {{"--version", "-style", "fusion", "-reverse"}, Mode::Version, false, false, "", "", ""},
      // Qt's own options, with their values, are left to Qt.
      {{"-platform", "offscreen", "-style", "fusion", "pic.top", "-reverse"}, Mode::Window, false, false, "pic.top",
       "", ""},
      {{"--refresh", "--", "-odd.top"}, Mode::Window, false, true, "-odd.top", "", ""},
      {{"--", "--trace"}, Mode::Window, false, false, "--trace", "", ""},
      {{"--history", "--since", "24h", "--resource", "NETA.NN1", "--history-db", "h.sqlite"}, Mode::History, false,
       false, "", "", ""},
  };
  for (const Accepted& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    SCOPED_TRACE(::testing::PrintToString(c.args));
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.line.mode, c.mode);
    EXPECT_EQ(parsed.line.trace, c.trace);
    EXPECT_EQ(parsed.line.refresh, c.refresh);
    EXPECT_EQ(parsed.line.file, c.file);
    EXPECT_EQ(parsed.line.renderPath, c.render);
    EXPECT_EQ(parsed.line.savePath, c.save);
    EXPECT_EQ(parsed.line.Batch(), !c.render.empty() || !c.save.empty());
  }
  const CommandLine exporting = ParseCommandLine({"a.top", "--export", "b.PDF", "--export-all", "--export-pages"}).line;
  EXPECT_EQ(exporting.exportPath, "b.PDF");
  EXPECT_TRUE(exporting.exportAll && exporting.exportPages && exporting.Batch());
}

TEST(CommandLineParsing, RefusedLinesSayWhy) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"-x"}, "unknown option '-x'"},
      {{"--render"}, "--render needs a file name"},
      {{"--save", ""}, "--save needs a file name"},
      {{"--render", "out.bmp"}, "--render writes a .png file: out.bmp"},
      {{"--save", "out.png"}, "--save writes a .top file: out.png"},
      {{"--render", "a.png", "--render", "b.png"}, "--render given twice"},
      {{"a.top", "b.top"}, "only one file can be opened: 'a.top' and 'b.top'"},
      {{"--query", "--refresh"}, "--query takes only --trace"},
      {{"--query", "--arrange"}, "--query takes only --trace"},
      {{"--query", "a.top"}, "--query takes only --trace"},
      {{"--help", "--trace"}, "--help takes no other arguments"},
      {{"--version", "a.top"}, "--version takes no other arguments"},
      {{"-platform", "offscreen", "--help", "--", "a.top"}, "--help takes no other arguments"},
      {{"--", "a.top", "-b.top"}, "only one file can be opened: 'a.top' and '-b.top'"},
      {{"--export", "a.png"}, "--export writes a .svg, .pdf, .graphml, .dot or .json file: a.png"},
      {{"--export", ""}, "--export needs a file name"},
      {{"--export-all"}, "--export-all needs --export"},
      {{"--export", "a.svg", "--export-pages"}, "--export-pages needs a .pdf file: a.svg"},
      {{"--query", "--export", "a.svg"}, "--query takes only --trace"},
      {{"--since", "1h"}, "--since needs --history"},
      {{"--history", "--since"}, "--since needs a value"},
      {{"--history", "--format", "csv", "--format", "json"}, "--format given twice"},
      {{"--history", "--refresh"}, "--history takes only --since, --until, --resource, --format and --history-db"},
      {{"--history", "a.top"}, "--history takes only --since, --until, --resource, --format and --history-db"},
  };
  for (const auto& [args, error] : cases) {
    EXPECT_EQ(ParseCommandLine(args).error, error) << ::testing::PrintToString(args);
  }
}

TEST(ExportDialogChoice, ATypedExtensionWinsAndAMissingOneComesFromTheChosenType) {
  const QStringList filters = ExportFilters();  // SVG, PDF on one page, PDF across pages, GraphML, DOT, JSON
  const struct {
    int filter;
    const char* typed;
    std::string path;
    ExportFormat format;
    bool acrossPages;
  } cases[] = {
      {0, "/t/net", "/t/net.svg", ExportFormat::Svg, false},
      {2, "/t/net", "/t/net.pdf", ExportFormat::Pdf, true},
      {2, "/t/net.json", "/t/net.json", ExportFormat::Json, false},
      {0, "/t/net.PDF", "/t/net.PDF", ExportFormat::Pdf, false},
      {3, "/t/v1.2", "/t/v1.2.graphml", ExportFormat::GraphMl, false},
  };
  for (const auto& c : cases) {
    const std::optional<ExportChoice> choice = ExportChoiceFor(filters[c.filter], c.typed);
    ASSERT_TRUE(choice) << c.typed;
    EXPECT_EQ(choice->path, c.path);
    EXPECT_EQ(choice->format, c.format) << c.typed;
    EXPECT_EQ(choice->options.pdfAcrossPages, c.acrossPages) << c.typed;
  }
  EXPECT_EQ(ExportChoiceFor(filters[0], "  "), std::nullopt);
}

TEST(CommandLineParsing, QtSeesNothingAfterTheEndOfOptions) {
  char program[] = "mapvine", style[] = "-style", fusion[] = "fusion", end[] = "--", file[] = "-reverse";
  char* argv[] = {program, style, fusion, end, file, nullptr};
  const std::vector<char*> expected = {program, style, fusion, nullptr};
  EXPECT_EQ(QtArguments(5, argv), expected);
}

TEST(FileDialogFilter, CoreFormTurnsIntoQtForm) {
  const std::pair<const char*, const char*> cases[] = {
      {" Saved Topology (*.top)|*.top||", "Saved Topology (*.top)"},
      {"Bitmaps|*.bmp;*.dib|All Files (*.*)|*.*||", "Bitmaps (*.bmp *.dib);;All Files (*)"},
      // Each name once, and "*.*" as every file, not only names with a dot.
      {"Image files (*.DIB, *.BMP)|*.DIB;*.BMP|All files (*.*)|*.*||",
       "Image files (*.DIB *.BMP);;All files (*)"},
      {"Bitmaps|*.bmp", "Bitmaps (*.bmp)"},
      {"", ""},
      {"Dangling description", ""},
  };
  for (const auto& [core, qt] : cases) EXPECT_EQ(QtFileFilter(core).toStdString(), qt) << core;
}

}  // namespace
}  // namespace mapvine
