#include "app/HistorySettings.h"

#include <QSettings>

namespace mapvine {
namespace {

QSettings UserSettings() { return QSettings("Mapvine", "Mapvine"); }

}  // namespace

HistorySettings LoadHistorySettings() {
  const QSettings stored = UserSettings();
  HistorySettings settings;
  settings.keep = stored.value("history/keep", settings.keep).toBool();
  settings.retentionDays = std::max(0, stored.value("history/retentionDays", settings.retentionDays).toInt());
  settings.database = stored.value("history/database").toString();
  settings.notify = stored.value("notifications/enabled", settings.notify).toBool();
  settings.notifyInactive = stored.value("notifications/inactive", settings.notifyInactive).toBool();
  settings.notifyGone = stored.value("notifications/gone", settings.notifyGone).toBool();
  settings.notifyRecovered = stored.value("notifications/recovered", settings.notifyRecovered).toBool();
  return settings;
}

void SaveHistorySettings(const HistorySettings& settings) {
  QSettings stored = UserSettings();
  stored.setValue("history/keep", settings.keep);
  stored.setValue("history/retentionDays", settings.retentionDays);
  stored.setValue("history/database", settings.database);
  stored.setValue("notifications/enabled", settings.notify);
  stored.setValue("notifications/inactive", settings.notifyInactive);
  stored.setValue("notifications/gone", settings.notifyGone);
  stored.setValue("notifications/recovered", settings.notifyRecovered);
}

std::optional<HistoryLocation> ChosenHistoryLocation(const std::string& commandLine, QString& error) {
  const QString chosen = commandLine.empty() ? LoadHistorySettings().database : QString::fromStdString(commandLine);
  if (chosen.isEmpty()) return DefaultHistoryLocation();
  return ParseHistoryLocation(chosen, error);
}

}  // namespace mapvine
