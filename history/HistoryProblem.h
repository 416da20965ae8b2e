#pragma once

#include <QString>

namespace mapvine {

// Why the history cannot be kept. Each gets one clear message; the program
// then goes on without history and keeps its picture.
enum class HistoryFault { None, Damaged, Locked, Full, Unreachable, Other };

struct HistoryProblem {
  HistoryFault fault = HistoryFault::None;
  QString where;   // the file, or the server and database
  QString detail;  // what the database said

  explicit operator bool() const { return fault != HistoryFault::None; }
  // "The change history in FILE is damaged (...). Mapvine goes on without
  // history; move the file away to start a new one."
  QString Message() const;
};

}  // namespace mapvine
