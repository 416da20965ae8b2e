// The real mapvine binary, started as a user or a script would.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <utility>

#include "app/QueryCommand.h"
#include "model/SavedTopology.h"
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
  environment.insert("XDG_DATA_HOME", folder.filePath("data"));
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
  EXPECT_EQ(rendered.size(), running.View().Frame().PictureImage().size());

  const PixelCensus census = Census(rendered);
  EXPECT_GT(census.colours, 20u);      // background, icons, labels
  EXPECT_GT(census.green, 200);        // active TGs
  EXPECT_GT(census.red, 50);           // the inoperative ones
}

// Without a window the picture is drawn as the window draws it, pixel for
// pixel.
TEST(Program, RendersASavedPictureAsTheWindowShowsIt) {
  QTemporaryDir folder;
  testing::RunningApp running;
  running.Refresh();
  ASSERT_TRUE(running.app.Commands().SaveTo(folder.filePath("shown.top")));
  const ProgramRun run = RunProgram(folder, {"shown.top", "--render", "out.png"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_EQ(QImage(folder.filePath("out.png")).convertToFormat(QImage::Format_RGB32),
            running.View().Frame().PictureImage().convertToFormat(QImage::Format_RGB32));
}

TEST(Program, SavesAndReopensForScripts) {
  QTemporaryDir folder;
  ASSERT_EQ(RunProgram(folder, {"--refresh", "--save", "pic.top", "--render", "first.png"}).exitCode, 0);
  // Reopened without a refresh, the picture still has its links, and looks
  // as it did after its first refresh, which marked nothing.
  const ProgramRun reopened = RunProgram(folder, {"pic.top", "--render", "again.png"});
  ASSERT_EQ(reopened.exitCode, 0) << reopened.errors.toStdString();
  const QImage again(folder.filePath("again.png"));
  EXPECT_GT(Census(again).green, 200);
  EXPECT_EQ(again, QImage(folder.filePath("first.png")));
}

TEST(Program, ArrangesForScriptsBeforeSaving) {
  QTemporaryDir folder;
  const ProgramRun run = RunProgram(folder, {"--refresh", "--arrange", "--save", "pic.top"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  CMapvineDoc doc;
  ASSERT_EQ(OpenTopologyFile(doc, folder.filePath("pic.top").toStdString()), LoadOutcome::Loaded);
  EXPECT_TRUE(doc.arranged);
  // The grid puts the LUs, which the directory reports last, rows away.
  for (const auto& [lu, owner] : {std::pair{"PAYLU3", "EN1"}, std::pair{"NN2LU1", "NN2"}}) {
    const Point a = doc.FindNode(lu)->GetCenter(), b = doc.FindNode(owner)->GetCenter();
    EXPECT_LE(std::hypot(a.x - b.x, a.y - b.y), 180.0) << lu;
  }
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
  // With the status query on, its statistics go to standard error: standard
  // output holds the change lines only.
  {
    testing::RunningApp window;
    window.Doc().settings.activeQuery = true;
    ASSERT_TRUE(window.app.Commands().SaveTo(folder.filePath("asking.top")));
  }
  const ProgramRun asking = RunProgram(folder, {"asking.top", "--refresh", "--changes"}, kSampleNetwork, "0");
  EXPECT_EQ(asking.exitCode, 1) << asking.errors.toStdString();
  EXPECT_TRUE(asking.output.startsWith("new NETA.")) << asking.output.toStdString();
  EXPECT_FALSE(asking.output.contains("Allocate time")) << asking.output.toStdString();
  EXPECT_TRUE(asking.errors.contains("Allocate time")) << asking.errors.toStdString();
  // An empty network: everything the picture held is gone, nodes first.
  const ProgramRun gone = RunProgram(folder, {"pic.top", "--refresh", "--changes"}, folder.filePath("down.net"), "0");
  EXPECT_EQ(gone.exitCode, 1);
  EXPECT_TRUE(gone.output.startsWith("gone NETA.BORDER1\n")) << gone.output.toStdString();
  EXPECT_FALSE(gone.output.contains("new ")) << gone.output.toStdString();
}

TEST(Program, HistoryPrintsWhatTheRefreshesChanged) {
  QTemporaryDir folder;
  // The first refresh of a new picture is its baseline; the next two change the NN1-NN5 TG.
  for (const char* seconds : {"0", "15", "45"}) {
    const QStringList args{"--refresh", "--save", "pic.top"};
    ASSERT_EQ(RunProgram(folder, QFile::exists(folder.filePath("pic.top")) ? QStringList{"pic.top"} + args : args,
                         kSampleNetwork, seconds).exitCode, 0);
  }
  QFile damaged(folder.filePath("damaged.sqlite"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write(QByteArray(2048, 'x'));
  damaged.close();
  const QString time = "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d)";
  const struct {
    QStringList args;
    int exitCode;
    QString output;  // a pattern for the whole output
  } rows[] = {
      {{"--history"}, 0, QString("%1 inactive NETA.NN1 NETA.NN5 24\n%1 active NETA.NN1 NETA.NN5 24\n").arg(time)},
      {{"--history", "--resource", "NETA.NN5", "--format", "csv", "--since", "1h"}, 0,
       QString("time,network,cp,change,resource,destination,tg\n%1,NETA,NN1,inactive,NETA.NN1,NETA.NN5,24\n"
               "%1,NETA,NN1,active,NETA.NN1,NETA.NN5,24\n").arg(time)},
      {{"--history", "--format", "json", "--resource", "NETA.NN1"}, 0,
       QString("(\\{\"time\":\"%1\",\"network\":\"NETA\",\"cp\":\"NN1\",\"change\":\"(in)?active\",\"resource\":"
               "\"NETA.NN1\",\"destination\":\"NETA.NN5\",\"tg\":24\\}\n){2}").arg(time)},
      {{"--history", "--resource", "NETA.EN1"}, 1, ""},
      {{"--history", "--until", "2000-01-01"}, 1, ""},
      {{"--history", "--format", "xml"}, 2, ""},
      {{"--history", "--since", "yesterday"}, 2, ""},
      {{"--history", "--history-db", "damaged.sqlite"}, 2, ""},
      {{"--history", "--history-db", "never-written.sqlite"}, 1, ""},
  };
  for (const auto& row : rows) {
    const ProgramRun run = RunProgram(folder, row.args);
    EXPECT_EQ(run.exitCode, row.exitCode) << row.args.join(' ').toStdString() << run.errors.toStdString();
    EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(row.output)).match(run.output).hasMatch())
        << row.args.join(' ').toStdString() << "\n" << run.output.toStdString();
  }
  EXPECT_TRUE(RunProgram(folder, {"--history", "--history-db", "damaged.sqlite"}).errors.contains("is damaged"));
  EXPECT_FALSE(QFile::exists(folder.filePath("never-written.sqlite")));
  // A refresh still works with a damaged history: it says so and keeps the picture.
  const ProgramRun refresh = RunProgram(folder, {"pic.top", "--refresh", "--changes", "--history-db", "damaged.sqlite"},
                                        kSampleNetwork, "15");
  EXPECT_EQ(refresh.exitCode, 1);
  EXPECT_EQ(refresh.output, "inactive NETA.NN1 NETA.NN5 24\n");
  EXPECT_TRUE(refresh.errors.contains("Mapvine goes on without history")) << refresh.errors.toStdString();
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
  environment.insert("XDG_DATA_HOME", folder.filePath("data"));
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
