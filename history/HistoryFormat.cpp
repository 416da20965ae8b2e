#include "history/HistoryFormat.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cstdio>

namespace mapvine {
namespace {

// Names and network IDs are letters, digits and $ # @ by the node's rules,
// but a history file may hold anything: quote what would break a line.
void AppendCsvField(std::string_view field, std::string& out) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendJsonString(std::string_view text, std::string& out) {
  out += '"';
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

}  // namespace

std::optional<HistoryFormat> ParseHistoryFormat(const QString& name) {
  if (name == "text") return HistoryFormat::Text;
  if (name == "csv") return HistoryFormat::Csv;
  if (name == "json") return HistoryFormat::Json;
  return std::nullopt;
}

std::optional<HistoryTime> ParseHistoryTime(const QString& text, HistoryTime now) {
  static const QRegularExpression span("^(\\d{1,6})([smhd])$");
  if (const QRegularExpressionMatch match = span.match(text); match.hasMatch()) {
    const qint64 count = match.captured(1).toLongLong();
    const qint64 unit = match.captured(2) == "s"   ? 1000
                        : match.captured(2) == "m" ? 60'000
                        : match.captured(2) == "h" ? 3'600'000
                                                   : 86'400'000;
    return now - count * unit;
  }
  QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
  if (!when.isValid()) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (!day.isValid()) return std::nullopt;
    when = day.startOfDay();
  }
  return when.toMSecsSinceEpoch();
}

std::string HistoryTimeText(HistoryTime when) {
  const QDateTime local = QDateTime::fromMSecsSinceEpoch(when);
  return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toStdString();
}

std::string HistoryLineWriter::Header() const {
  return format_ == HistoryFormat::Csv ? "time,network,cp,change,resource,destination,tg\n" : std::string();
}

void HistoryLineWriter::Append(const HistoryRow& row, const NetworkKey& network, std::string& out) {
  if (row.when != lastWhen_) {
    lastWhen_ = row.when;
    lastWhenText_ = HistoryTimeText(row.when);
  }
  const TopologyChange& change = row.change;
  std::string tg;
  if (change.isLink && format_ != HistoryFormat::Text) tg = std::to_string(change.tgNumber);
  switch (format_) {
    case HistoryFormat::Text:
      out += lastWhenText_;
      out += ' ';
      AppendChangeLine(change, out);
      break;
    case HistoryFormat::Csv:
      out += lastWhenText_;
      for (const std::string_view field :
           {std::string_view(network.networkId), std::string_view(network.cpName),
            std::string_view(ChangeWord(change.kind)), std::string_view(change.name),
            std::string_view(change.destinationName), std::string_view(tg)}) {
        out += ',';
        AppendCsvField(field, out);
      }
      break;
    case HistoryFormat::Json:
      out += "{\"time\":\"" + lastWhenText_ + "\",\"network\":";
      AppendJsonString(network.networkId, out);
      out += ",\"cp\":";
      AppendJsonString(network.cpName, out);
      out += ",\"change\":\"";
      out += ChangeWord(change.kind);
      out += "\",\"resource\":";
      AppendJsonString(change.name, out);
      if (change.isLink) {
        out += ",\"destination\":";
        AppendJsonString(change.destinationName, out);
        out += ",\"tg\":" + tg;
      }
      out += '}';
      break;
  }
  out += '\n';
}

}  // namespace mapvine
