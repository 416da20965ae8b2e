// The real mapvine binary, started as a user or a script would.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <utility>

#include "app/QueryCommand.h"
#include "protocol/NodeAnswers.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

const QString kProgram = MAPVINE_BINARY;
const QString kSampleNetwork = MAPVINE_SOURCE_DIR "/resources/sample.net";

struct PixelCensus {
  int green = 0;
  int red = 0;
  std::size_t colours = 0;
};

// Link colours are the palette's nearest to pure green and pure red.
PixelCensus Census(const QImage& image) {
  PixelCensus census;
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      colours.insert(pixel);
      const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
      if (g > 180 && r < 90 && b < 90) ++census.green;
      if (r > 180 && g < 90 && b < 90) ++census.red;
    }
  }
  census.colours = colours.size();
  return census;
}

struct ProgramRun {
  int exitCode;
  QString errors;
  QString output;
};

// `network`: the description the node serves; `seconds`: its clock.
ProgramRun RunProgram(const QTemporaryDir& folder, const QStringList& args,
                      const QString& network = kSampleNetwork, const QString& seconds = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("SNANODE_NETWORK", network);
  if (!seconds.isEmpty()) environment.insert("SNANODE_TIME", seconds);
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(folder.path());
  process.start(kProgram, args);
  EXPECT_TRUE(process.waitForFinished(120000));
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError()), QString::fromUtf8(process.readAllStandardOutput())};
}

TEST(Program, RendersTheRefreshedSamplePicture) {
  QTemporaryDir folder;
  const ProgramRun run = RunProgram(folder, {"--refresh", "--render", "out.png"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QImage rendered(folder.filePath("out.png"));
  ASSERT_FALSE(rendered.isNull());

  // The same picture refreshed in this process gives the expected size.
  testing::RunningApp running;
  running.Refresh();
  EXPECT_EQ(rendered.size(), running.View().PictureImage().size());

  const PixelCensus census = Census(rendered);
  EXPECT_GT(census.colours, 20u);      // background, icons, labels
  EXPECT_GT(census.green, 200);        // active TGs
  EXPECT_GT(census.red, 50);           // the inoperative ones
}

TEST(Program, SavesAndReopensForScripts) {
  QTemporaryDir folder;
  ASSERT_EQ(RunProgram(folder, {"--refresh", "--save", "pic.top"}).exitCode, 0);
  // Reopened without a refresh, the picture still has its links.
  const ProgramRun reopened = RunProgram(folder, {"pic.top", "--render", "again.png"});
  ASSERT_EQ(reopened.exitCode, 0) << reopened.errors.toStdString();
  EXPECT_GT(Census(QImage(folder.filePath("again.png"))).green, 200);
}

TEST(Program, CommandLinesGiveTheirResultAndStatus) {
  QTemporaryDir folder;
  QFile garbage(folder.filePath("garbage.top"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not a saved topology");
  garbage.close();
  ASSERT_EQ(RunProgram(folder, {"--save", "-dash.top"}).exitCode, 0);
  struct Case {
    QStringList args;
    int exitCode;  // -1: ended by Qt
    const char* output;
    const char* errors;
  };
  const Case cases[] = {
      {{"--help"}, 0, "--render <FILE.png>", ""},
      {{"--version"}, 0, "mapvine " MAPVINE_VERSION "\n", ""},
      {{"--query"}, 0, "Picture: 36 nodes", ""},
      {{"--frobnicate"}, 2, "", "unknown option '--frobnicate'"},
      {{"--query", "a.top"}, 2, "", "--query takes only --trace\nUsage: mapvine"},
      {{"missing.top", "--render", "x.png"}, 1, "", "Failed to open file"},
      {{"garbage.top", "--render", "x.png"}, 1, "", "Invalid File Format"},
      {{"--render", "no/such/folder/x.png"}, 1, "", "could not write the picture"},
      // A file whose name starts with a dash, after the end of options.
      {{"--render", "dash.png", "--", "-dash.top"}, 0, "", ""},
      // Qt takes its own options: this one names a platform it cannot load.
      {{"-platform", "nosuch", "--render", "x.png"}, -1, "", "Could not find the Qt platform plugin \"nosuch\""},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram(folder, c.args);
    SCOPED_TRACE(c.args.join(' ').toStdString());
    EXPECT_EQ(run.exitCode, c.exitCode) << run.errors.toStdString();
    EXPECT_TRUE(run.output.contains(c.output)) << run.output.toStdString();
    EXPECT_TRUE(run.errors.contains(c.errors)) << run.errors.toStdString();
  }
  EXPECT_FALSE(QFile::exists(folder.filePath("x.png")));
  EXPECT_TRUE(QFile::exists(folder.filePath("dash.png")));
}

// The sample's NN1-NN5 TG goes down at 10 seconds and comes back at 40.
TEST(Program, ChangesAnswerLikeDiff) {
  QTemporaryDir folder;
  QFile(folder.filePath("down.net")).open(QIODevice::WriteOnly);  // empty: no network, yet answering
  QFile stopped(folder.filePath("stopped.net"));
  ASSERT_TRUE(stopped.open(QIODevice::WriteOnly));
  stopped.write("node-state not-started\n");
  stopped.close();
  ASSERT_EQ(RunProgram(folder, {"--refresh", "--save", "pic.top"}, kSampleNetwork, "0").exitCode, 0);
  const QString down = "inactive NETA.NN1 NETA.NN5 24\n";
  const struct {
    QStringList args;
    QString network, seconds;
    int exitCode;
    QString output;
  } rows[] = {
      {{"pic.top", "--refresh", "--changes"}, kSampleNetwork, "5", 0, ""},
      {{"pic.top", "--refresh", "--changes"}, kSampleNetwork, "15", 1, down},
      // The same again: the output does not wander.
      {{"pic.top", "--refresh", "--changes", "--save", "later.top"}, kSampleNetwork, "15", 1, down},
      {{"later.top", "--refresh", "--changes"}, kSampleNetwork, "15", 0, ""},
      {{"later.top", "--refresh", "--changes"}, kSampleNetwork, "45", 1, "active NETA.NN1 NETA.NN5 24\n"},
      {{"pic.top", "--refresh", "--changes"}, folder.filePath("stopped.net"), "15", 2, ""},
      {{"missing.top", "--refresh", "--changes"}, kSampleNetwork, "15", 2, ""},
      {{"pic.top", "--changes"}, kSampleNetwork, "15", 2, ""},
  };
  for (const auto& row : rows) {
    const ProgramRun run = RunProgram(folder, row.args, row.network, row.seconds);
    EXPECT_EQ(run.exitCode, row.exitCode) << row.args.join(' ').toStdString() << run.errors.toStdString();
    EXPECT_EQ(run.output, row.output) << row.args.join(' ').toStdString();
  }
  EXPECT_TRUE(QFile::exists(folder.filePath("later.top")));
  // An empty network: everything the picture held is gone, nodes first.
  const ProgramRun gone = RunProgram(folder, {"pic.top", "--refresh", "--changes"}, folder.filePath("down.net"), "0");
  EXPECT_EQ(gone.exitCode, 1);
  EXPECT_TRUE(gone.output.startsWith("gone NETA.BORDER1\n")) << gone.output.toStdString();
  EXPECT_FALSE(gone.output.contains("new ")) << gone.output.toStdString();
}

// The window on a real X server, refreshed, as a screenshot shows it.
TEST(Program, QueryReportAndPictureShareOneLookAtTheNode) {
  const auto node = testing::NodeServing(snanode::SampleNetworkText());
  int calls = 0;
  const SnaCtlFunction counted = [&](void* block, std::uint32_t length) {
    ++calls;
    node.Call(block, length);
  };
  AskNode(counted);
  const int oneLook = std::exchange(calls, 0);
  std::ostringstream out;
  EXPECT_EQ(RunQueryCommand(counted, false, out), 0);
  EXPECT_EQ(calls, oneLook);
  EXPECT_NE(out.str().find("Picture: 36 nodes"), std::string::npos) << out.str();
}

TEST(Program, WindowShowsThePictureOnAnXServer) {
  const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
  const QString import = QStandardPaths::findExecutable("import");
  if (xvfbRun.isEmpty() || import.isEmpty()) GTEST_SKIP() << "needs xvfb-run and ImageMagick's import";
  QTemporaryDir folder;
  // Screenshots until links show, for at most about 30 seconds.
  const QString script = QStringLiteral(
                             "\"%1\" --refresh & program=$!\n"
                             "for i in $(seq 30); do\n"
                             "  sleep 1\n"
                             "  import -window root shot.png 2>/dev/null || continue\n"
                             "  green=$(convert shot.png -fuzz 25% -fill black +opaque 'rgb(0,255,0)' "
                             "-format '%[fx:mean>0]' info:)\n"
                             "  [ \"$green\" = 1 ] && break\n"
                             "done\n"
                             "kill $program; wait $program\n")
                             .arg(kProgram);
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("SNANODE_NETWORK", kSampleNetwork);
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(folder.path());
  process.start(xvfbRun, {"-a", "-s", "-screen 0 1280x900x24", "sh", "-c", script});
  ASSERT_TRUE(process.waitForFinished(90000));
  const QImage shot(folder.filePath("shot.png"));
  ASSERT_FALSE(shot.isNull()) << process.readAllStandardError().toStdString();
  const PixelCensus census = Census(shot);
  EXPECT_GT(census.colours, 20u);
  EXPECT_GT(census.green, 200);
}

}  // namespace
}  // namespace mapvine
