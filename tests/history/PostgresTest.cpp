// A history a team shares, in a real PostgreSQL server the test starts in a
// temporary folder on a free port. Skipped, saying why, where the server's
// programs are not installed.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "history/HistoryStore.h"

namespace mapvine {
namespace {

// The server refuses to run as root: it then runs as "nobody".
constexpr uid_t kNobody = 65534;

QString ServerPrograms() {
  const QStringList versions = QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  for (auto it = versions.rbegin(); it != versions.rend(); ++it) {
    const QString bin = "/usr/lib/postgresql/" + *it + "/bin";
    if (QFile::exists(bin + "/initdb") && QFile::exists(bin + "/pg_ctl")) return bin;
  }
  return {};
}

int FreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

class PostgresHistory : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = ServerPrograms();
    if (bin_.isEmpty()) GTEST_SKIP() << "PostgreSQL's server programs (Debian's postgresql) are not installed";
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(QFile::encodeName(folder_.path()).constData(), kNobody, kNobody), 0);
    }
    port_ = FreePort();
    ASSERT_EQ(Run("initdb", {"-D", Data(), "-U", "mapvine", "--auth=trust", "-E", "UTF8"}), 0);
    ASSERT_EQ(Run("pg_ctl", {"-D", Data(), "-l", folder_.filePath("log"), "-w", "-o",
                             QString("-p %1 -k %2 -c listen_addresses=127.0.0.1").arg(port_).arg(folder_.path()),
                             "start"}),
              0);
    started_ = true;
    ASSERT_EQ(Run("createdb", {"-h", "127.0.0.1", "-p", QString::number(port_), "-U", "mapvine", "history"}), 0);
  }

  void TearDown() override {
    if (started_) Run("pg_ctl", {"-D", Data(), "-m", "immediate", "stop"});
  }

  HistoryLocation Location() const {
    return {{}, QUrl(QString("postgresql://mapvine@127.0.0.1:%1/history").arg(port_))};
  }
  QString Data() const { return folder_.filePath("data"); }

  int Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.setWorkingDirectory(folder_.path());
    if (::geteuid() == 0) {
      process.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", bin_ + "/" + program} + args);
    } else {
      process.start(bin_ + "/" + program, args);
    }
    process.waitForFinished(60000);
    if (process.exitCode() != 0) ADD_FAILURE() << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.exitCode();
  }

  QTemporaryDir folder_;
  QString bin_;
  int port_ = 0;
  bool started_ = false;
};

TEST_F(PostgresHistory, OperatorsShareOneHistoryAndItsAcknowledgements) {
  const NetworkKey network{"NETA", "NN1"};
  HistoryStore first(Location());
  HistoryStore second(Location());
  ASSERT_TRUE(first.Open()) << first.Problem().Message().toStdString();
  ASSERT_TRUE(second.Open()) << second.Problem().Message().toStdString();
  ASSERT_TRUE(first.WriteRefresh(network, 1000, {{ChangeMark::WentInactive, true, "NETA.NN1", "NETA.NN5", 24}}));
  ASSERT_TRUE(second.WriteRefresh(network, 2000, {{ChangeMark::WentActive, true, "NETA.NN1", "NETA.NN5", 24},
                                                  {ChangeMark::Gone, false, "NETA.EN6", {}, 0}}));
  const std::vector<std::string> keys{"NETA.NN1 NETA.NN5 24"};
  ASSERT_TRUE(second.Acknowledge(network, 1500, &keys));
  std::vector<std::string> seen;
  ASSERT_TRUE(first.Read({network, {}, {}, {}}, [&](const HistoryRow& row, const NetworkKey&) {
    seen.push_back(std::to_string(row.when) + " " + ChangeLine(row.change) + (row.acknowledged ? " ack" : ""));
    return true;
  }));
  EXPECT_EQ(seen, (std::vector<std::string>{"1000 inactive NETA.NN1 NETA.NN5 24 ack",
                                            "2000 active NETA.NN1 NETA.NN5 24", "2000 gone NETA.EN6"}));
}

// Two operators' windows refresh the same network at once, each seeing
// every change a little after the other: one history results.
TEST_F(PostgresHistory, OperatorsRecordingOneNetworkWriteEachChangeOnce) {
  constexpr int kRefreshes = 20;
  constexpr int kLinks = 50;
  const auto operatorWindow = [this](HistoryTime lag) {
    HistoryStore store(Location());
    ASSERT_TRUE(store.Open()) << store.Problem().Message().toStdString();
    std::vector<TopologyChange> changes;
    for (int tg = 0; tg < kLinks; ++tg) changes.push_back({{}, true, "NETA.NN1", "NETA.NN5", tg});
    for (int n = 1; n <= kRefreshes; ++n) {
      for (TopologyChange& change : changes) change.kind = n % 2 ? ChangeMark::WentInactive : ChangeMark::WentActive;
      ASSERT_TRUE(store.WriteRefresh({"NETA", "NN1"}, n * 1000 + lag, changes)) << store.Problem().Message().toStdString();
    }
  };
  std::thread first(operatorWindow, 0);
  std::thread second(operatorWindow, 300);
  first.join();
  second.join();
  HistoryStore reader(Location());
  ASSERT_TRUE(reader.Open());
  std::map<int, std::vector<HistoryRow>> byLink;
  ASSERT_TRUE(reader.Read({}, [&](const HistoryRow& row, const NetworkKey&) {
    byLink[row.change.tgNumber].push_back(row);
    return true;
  }));
  ASSERT_EQ(byLink.size(), static_cast<std::size_t>(kLinks));
  for (const auto& [tg, rows] : byLink) {
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRefreshes)) << "TG " << tg;
    for (std::size_t n = 1; n < rows.size(); ++n) {
      EXPECT_NE(rows[n].change.kind, rows[n - 1].change.kind) << "TG " << tg;
      EXPECT_GT(rows[n].when, rows[n - 1].when) << "TG " << tg;
    }
  }
}

}  // namespace
}  // namespace mapvine
