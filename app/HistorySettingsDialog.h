#pragma once

#include <QWidget>
#include <optional>

#include "app/HistorySettings.h"

namespace mapvine {

// "History Settings": whether to keep a change history, for how many days
// and where (a file, or a shared PostgreSQL database), and which changes
// raise a desktop notification. The new settings after OK; none on Cancel.
std::optional<HistorySettings> AskHistorySettings(QWidget* parent, const HistorySettings& current);

}  // namespace mapvine
