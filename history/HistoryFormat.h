#pragma once

#include <QString>
#include <optional>
#include <string>

#include "history/HistoryRow.h"

namespace mapvine {

// How `mapvine --history` prints its rows, one change per line:
// text   "2026-12-08T03:00:12+01:00 inactive NETA.NN1 NETA.NN5 24"
//        (the time, then the words --changes prints);
// csv    a header line, then time,network,cp,change,resource,destination,tg;
// json   one object per line with the same fields.
enum class HistoryFormat { Text, Csv, Json };

std::optional<HistoryFormat> ParseHistoryFormat(const QString& name);

// A time on the command line: an ISO 8601 date or date and time (local
// time unless it carries an offset or Z), or a span back from `now`
// ("90m", "24h", "7d").
std::optional<HistoryTime> ParseHistoryTime(const QString& text, HistoryTime now);

// The time as printed: ISO 8601 in local time with its offset, to the second.
std::string HistoryTimeText(HistoryTime when);

// Turns rows into lines; keeps the last refresh's time text, as every
// change of a refresh shares it.
class HistoryLineWriter {
 public:
  explicit HistoryLineWriter(HistoryFormat format) : format_(format) {}
  // The header line, if the format has one (with its newline).
  std::string Header() const;
  // Appends the row's line and its newline to `out`.
  void Append(const HistoryRow& row, const NetworkKey& network, std::string& out);

 private:
  HistoryFormat format_;
  HistoryTime lastWhen_ = -1;
  std::string lastWhenText_;
};

}  // namespace mapvine
