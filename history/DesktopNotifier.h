#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QHash>
#include <QString>

#include "history/RefreshNotice.h"

class QDBusMessage;

namespace mapvine {

// Desktop notifications through the freedesktop notification service on
// the session bus. Sending never waits for the service: with none on the
// bus (or no bus at all) a notification is simply not shown.
class DesktopNotifier final : public QObject {
  Q_OBJECT
 public:
  explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

  // Sends to the service on another bus from now on.
  void UseBus(QDBusConnection bus);

  // Shows the notice; its action "Show" comes back as Activated.
  void Notify(const RefreshNotice& notice);

 signals:
  // The person chose the notification's action: bring the window to the
  // front on this resource.
  void Activated(const mapvine::TopologyChange& resource);

 private slots:
  void ActionInvoked(uint id, const QString& action);

 private:
  QDBusConnection bus_;
  // The resource of each notification still open, by its id.
  QHash<uint, TopologyChange> shown_;
};

}  // namespace mapvine
