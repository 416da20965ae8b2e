#include "app/HistoryCommand.h"

#include <QDateTime>
#include <QFileInfo>

#include "app/HistorySettings.h"
#include "history/HistoryFormat.h"
#include "history/HistoryStore.h"

namespace mapvine {
namespace {

// Lines go out in blocks: a million rows are printed in well under a second.
constexpr std::size_t kFlushAt = 1 << 16;

}  // namespace

int RunHistoryCommand(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const std::optional<HistoryFormat> format = ParseHistoryFormat(QString::fromStdString(line.format));
  if (!format) {
    err << "mapvine: --format takes text, csv or json, not '" << line.format << "'\n";
    return 2;
  }
  HistoryFilter filter;
  filter.resource = line.resource;
  const HistoryTime now = QDateTime::currentMSecsSinceEpoch();
  for (const auto& [option, text, bound] : {std::tuple{"--since", &line.since, &filter.since},
                                            std::tuple{"--until", &line.until, &filter.until}}) {
    if (text->empty()) continue;
    *bound = ParseHistoryTime(QString::fromStdString(*text), now);
    if (!*bound) {
      err << "mapvine: " << option << " takes an ISO 8601 date or time, or a span such as 24h, not '" << *text
          << "'\n";
      return 2;
    }
  }
  QString error;
  const std::optional<HistoryLocation> location = ChosenHistoryLocation(line.historyDb, error);
  if (!location) {
    err << "mapvine: " << error.toStdString() << "\n";
    return 2;
  }
  // Nothing was ever recorded: say so without creating an empty history.
  if (!location->IsShared() && !QFileInfo::exists(location->sqliteFile)) return 1;

  HistoryStore store(*location);
  if (!store.Open()) {
    err << "mapvine: " << store.Problem().Message().toStdString() << "\n";
    return 2;
  }
  HistoryLineWriter writer(*format);
  std::string text = writer.Header();
  bool any = false;
  const bool read = store.Read(filter, [&](const HistoryRow& row, const NetworkKey& network) {
    any = true;
    writer.Append(row, network, text);
    if (text.size() >= kFlushAt) {
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      text.clear();
    }
    return true;
  });
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!read) {
    err << "mapvine: " << store.Problem().Message().toStdString() << "\n";
    return 2;
  }
  return any ? 0 : 1;
}

}  // namespace mapvine
