#pragma once

#include <QString>
#include <optional>
#include <string>

#include "history/HistoryLocation.h"

namespace mapvine {

// The history's settings, kept with the user's other settings.
struct HistorySettings {
  static constexpr int kDefaultRetentionDays = 90;

  bool keep = true;                          // keep a history at all
  int retentionDays = kDefaultRetentionDays;  // refreshes older than this are forgotten at start; 0 never
  QString database;                          // a file or postgresql:// address; empty: the user's own file
  // Desktop notifications during auto refresh, and which changes raise one.
  bool notify = true;
  bool notifyInactive = true;
  bool notifyGone = true;
  bool notifyRecovered = true;

  friend bool operator==(const HistorySettings&, const HistorySettings&) = default;
};

HistorySettings LoadHistorySettings();
void SaveHistorySettings(const HistorySettings& settings);

// Where the history lives: `commandLine` (--history-db) when given, else
// the setting, else the user's own file. None, with `error` set, for an
// address that cannot be used.
std::optional<HistoryLocation> ChosenHistoryLocation(const std::string& commandLine, QString& error);

}  // namespace mapvine
