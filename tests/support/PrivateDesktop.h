#pragma once

// A private session bus with a real notification daemon on it (dunst on a
// virtual X server), whose history dunstctl reads back. Skips the test
// when any of those programs is missing.
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

#include "base/LibraryHandOver.h"

namespace mapvine::testing {

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
    {
      // QtDBus opens the connection on a thread of its own.
      const LibraryHandOver opening;
      connection_ = QDBusConnection::connectToBus(address_, "private-desktop");
    }
    ASSERT_TRUE(connection_.isConnected());
    QElapsedTimer waited;
    waited.start();
    const auto daemonRegistered = [this] {
      const LibraryHandOver asking;  // QtDBus asks from its own thread too
      return connection_.interface()->isServiceRegistered("org.freedesktop.Notifications").value();
    };
    while (!daemonRegistered() && waited.elapsed() < 20000) QThread::msleep(50);
    ASSERT_TRUE(daemonRegistered());
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



}  // namespace mapvine::testing
