#include "history/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusMessage>
#include <QVariantMap>

#include "base/LibraryHandOver.h"

namespace mapvine {
namespace {

const char* const kService = "org.freedesktop.Notifications";
const char* const kPath = "/org/freedesktop/Notifications";
const char* const kInterface = "org.freedesktop.Notifications";
// Notifications of one program replace none of each other's: every refresh is news.
constexpr uint kReplacesNone = 0;
constexpr int kServerDecidesTimeout = -1;
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;
// Open notifications remembered for their action, at most.
constexpr int kRemembered = 64;

}  // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent) : QObject(parent), bus_("") {
  UseBus(std::move(bus));
}

void DesktopNotifier::UseBus(QDBusConnection bus) {
  // QtDBus keeps a subscription on its connection's own thread.
  {
    const LibraryHandOver subscription;
    bus_.disconnect(kService, kPath, kInterface, "ActionInvoked", this, SLOT(ActionInvoked(uint, QString)));
  }
  bus_ = std::move(bus);
  shown_.clear();
  const LibraryHandOver subscription;
  bus_.connect(kService, kPath, kInterface, "ActionInvoked", this, SLOT(ActionInvoked(uint, QString)));
}

void DesktopNotifier::Notify(const RefreshNotice& notice) {
  if (!bus_.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
  QVariantMap hints;
  hints.insert("urgency", QVariant::fromValue(notice.recovery ? kUrgencyNormal : kUrgencyCritical));
  hints.insert("desktop-entry", QStringLiteral("mapvine"));
  call << QStringLiteral("Mapvine") << kReplacesNone << QStringLiteral("mapvine")
       << QString::fromStdString(notice.summary) << QString::fromStdString(notice.body)
       << QStringList{"default", tr("Show")} << hints << kServerDecidesTimeout;
  QDBusPendingCall pending = [&] {
    // QtDBus sends the call from its connection's thread.
    const LibraryHandOver sending;
    return bus_.asyncCall(call);
  }();
  auto* watcher = new QDBusPendingCallWatcher(pending, this);
  const TopologyChange resource = notice.first;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, resource](QDBusPendingCallWatcher* done) {
    const QDBusPendingReply<uint> reply = *done;
    done->deleteLater();
    if (reply.isError()) return;  // no notification service: nothing to show it with
    if (shown_.size() >= kRemembered) shown_.clear();
    shown_.insert(reply.value(), resource);
  });
}

void DesktopNotifier::ActionInvoked(uint id, const QString& action) {
  const auto found = shown_.constFind(id);
  if (found == shown_.constEnd() || action != "default") return;
  emit Activated(*found);
}

}  // namespace mapvine
