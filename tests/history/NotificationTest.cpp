// Desktop notifications on a private session bus, shown by a real
// notification daemon (dunst on a virtual X server) and read back from
// its history with dunstctl.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "history/DesktopNotifier.h"

namespace mapvine {
namespace {

class PrivateDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"dbus-daemon", "xvfb-run", "dunst", "dunstctl"}) {
      if (QStandardPaths::findExecutable(program).isEmpty()) GTEST_SKIP() << program << " is not installed";
    }
    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address", "--address=unix:dir=" + folder_.path()});
    ASSERT_TRUE(bus_.waitForReadyRead(10000));
    address_ = QString::fromUtf8(bus_.readLine()).trimmed();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
    environment.insert("HOME", folder_.path());  // no user's dunstrc
    environment.remove("XDG_CONFIG_HOME");
    daemon_.setProcessEnvironment(environment);
    // Every notification stays one of its own, as a person would count them.
    QFile config(folder_.filePath("dunstrc"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("[global]\nstack_duplicates = false\nnotification_limit = 0\n");
    config.close();
    daemon_.start("xvfb-run", {"-a", "dunst", "-config", config.fileName()});
    connection_ = QDBusConnection::connectToBus(address_, "private-desktop");
    ASSERT_TRUE(connection_.isConnected());
    QElapsedTimer waited;
    waited.start();
    while (!connection_.interface()->isServiceRegistered("org.freedesktop.Notifications") &&
           waited.elapsed() < 20000) {
      QThread::msleep(50);
    }
    ASSERT_TRUE(connection_.interface()->isServiceRegistered("org.freedesktop.Notifications"));
  }

  void TearDown() override {
    connection_ = QDBusConnection("");
    QDBusConnection::disconnectFromBus("private-desktop");
    daemon_.terminate();
    daemon_.waitForFinished();
    bus_.kill();
    bus_.waitForFinished();
  }

  // Closes what dunst shows, so that its history holds everything sent, and
  // answers each notification as "summary / body".
  QStringList History() {
    Dunstctl({"close-all"});
    const QJsonObject reply = QJsonDocument::fromJson(Dunstctl({"history"})).object();
    QStringList shown;
    for (const QJsonValue& item : reply["data"].toArray().at(0).toArray()) {
      const QJsonObject notification = item.toObject();
      shown.prepend(notification["summary"].toObject()["data"].toString() + " / " +
                    notification["body"].toObject()["data"].toString());
    }
    return shown;
  }

  QByteArray Dunstctl(const QStringList& args) {
    QProcess control;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
    control.setProcessEnvironment(environment);
    control.start("dunstctl", args);
    EXPECT_TRUE(control.waitForFinished(10000));
    return control.readAllStandardOutput();
  }

  // Lets the notifier's calls go out and their replies come back.
  static void Settle() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  QTemporaryDir folder_;
  QProcess bus_;
  QProcess daemon_;
  QString address_;
  QDBusConnection connection_{""};
};

TopologyChange Link(ChangeMark kind, int tg) { return {kind, true, "NETA.NN1", "NETA.NN5", tg}; }

TEST_F(PrivateDesktop, OneNotificationPerRefreshWithChangesAndNoneWhileFlapping) {
  DesktopNotifier notifier(connection_);
  FlapTracker flapping;
  const NoticeKinds kinds;
  // Each refresh: what it changed. TG 30 flaps; the others change once.
  std::vector<std::vector<TopologyChange>> refreshes = {
      {Link(ChangeMark::WentInactive, 24), Link(ChangeMark::WentInactive, 21), Link(ChangeMark::WentInactive, 22),
       Link(ChangeMark::WentInactive, 23), {ChangeMark::Gone, false, "NETA.EN6", {}, 0}},
      {},
      {{ChangeMark::New, false, "NETA.EN9", {}, 0}},
  };
  for (int n = 0; n < 8; ++n) refreshes.push_back({Link(n % 2 ? ChangeMark::WentActive : ChangeMark::WentInactive, 30)});
  refreshes.push_back({Link(ChangeMark::WentActive, 24)});
  for (const auto& changes : refreshes) {
    std::vector<std::string> keys;
    for (const TopologyChange& change : changes) keys.push_back(ResourceKey(change));
    flapping.Refresh(keys);
    if (const auto notice = NoticeFor(changes, flapping, kinds)) notifier.Notify(*notice);
  }
  Settle();
  // TG 30 notifies until the rule finds it flapping (its 6th change), then
  // stays quiet.
  const QStringList tg30{"1 link went inactive / 1 link went inactive: NN1\u2013NN5 TG 30",
                         "1 link went active / 1 link went active: NN1\u2013NN5 TG 30"};
  // dunst's history keeps notifications shown at once in no set order.
  QStringList shown = History();
  QStringList expected{"4 links went inactive / 4 links went inactive: NN1\u2013NN5 TG 24, NN1\u2013NN5 TG 21, "
                         "NN1\u2013NN5 TG 22, \u2026\n1 node gone: EN6",
                         tg30[0], tg30[1], tg30[0], tg30[1], tg30[0],
                         "1 link went active / 1 link went active: NN1\u2013NN5 TG 24"};
  shown.sort();
  expected.sort();
  EXPECT_EQ(shown.join(" | ").toStdString(), expected.join(" | ").toStdString());
}

TEST(DesktopNotifier, WithoutANotificationServiceNothingBreaks) {
  QTemporaryDir folder;
  QProcess bus;
  bus.start("dbus-daemon", {"--session", "--nofork", "--print-address", "--address=unix:dir=" + folder.path()});
  if (!bus.waitForReadyRead(10000)) GTEST_SKIP() << "dbus-daemon did not start";
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();
  {
    QDBusConnection empty = QDBusConnection::connectToBus(address, "empty-desktop");
    DesktopNotifier notifier(empty);
    notifier.Notify({"1 link went inactive", "", {}, false});
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 300) QCoreApplication::processEvents();
  }
  QDBusConnection::disconnectFromBus("empty-desktop");
  DesktopNotifier noBus(QDBusConnection("none"));
  noBus.Notify({"1 link went inactive", "", {}, false});
  bus.kill();
  bus.waitForFinished();
}

}  // namespace
}  // namespace mapvine
