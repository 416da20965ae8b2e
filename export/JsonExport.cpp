// The picture's graph as JSON, after docs/export.schema.json: the content
// of the GraphML export, for scripts.
#include <QJsonDocument>
#include <QJsonObject>

#include "export/ChunkedText.h"
#include "export/ExportWriters.h"
#include "export/NameText.h"
#include "export/WriteSteps.h"

namespace mapvine {

namespace {

// Raised whenever the layout changes in a way an older reader would
// misread.
constexpr int kSchemaVersion = 1;

QString Token(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QJsonObject NodeObject(std::size_t number, const ExportedNode& node, bool withHidden) {
  const Point& centre = node.centre;
  QJsonObject object{
      {"id", QStringLiteral("n%1").arg(number)},
      {"kind", Token(NodeKindName(node.nodeType))},
      {"name", NameToQt(node.fqName)},
      {"label", NameToQt(node.label)},
      {"status", Token(StatusName(node.status))},
      {"x", centre.x},
      {"y", centre.y},
  };
  if (withHidden) object.insert("hidden", node.hidden);
  return object;
}

QJsonObject LinkObject(std::size_t number, const ExportedLink& link) {
  return QJsonObject{
      {"id", QStringLiteral("e%1").arg(number)},
      {"source", QStringLiteral("n%1").arg(link.from)},
      {"target", QStringLiteral("n%1").arg(link.to)},
      {"kind", Token(LinkKindName(link.kind))},
      {"tg", link.tgNumber},
      {"status", Token(StatusName(link.status))},
  };
}

}  // namespace

// Written item by item rather than as one document, so that the writer
// holds a megabyte of text at most and can stop between any two items: the
// frame is plain text, and each node and link Qt's JSON on a line of its
// own.
bool WriteJson(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress) {
  WriteSteps steps(progress, picture.nodes.size() + picture.links.size());
  ChunkedText json{out, {}};
  const auto item = [&json, &steps](const QJsonObject& object, bool first) {
    json.text += first ? "\n    " : ",\n    ";
    json.text += QJsonDocument(object).toJson(QJsonDocument::Compact);
    return json.PassOnFull() && steps.Next();
  };
  json.text += "{\n  \"format\": \"mapvine-topology\"";
  json.text += ",\n  \"version\": " + QByteArray::number(kSchemaVersion);
  json.text += ",\n  \"width\": " + QByteArray::number(picture.width);
  json.text += ",\n  \"height\": " + QByteArray::number(picture.height);
  json.text += QByteArray(",\n  \"includesHidden\": ") + (picture.includeHidden ? "true" : "false");
  json.text += ",\n  \"nodes\": [";
  for (std::size_t i = 0; i < picture.nodes.size(); ++i) {
    if (!item(NodeObject(i, picture.nodes[i], picture.includeHidden), i == 0)) return false;
  }
  json.text += "\n  ],\n  \"links\": [";
  for (std::size_t i = 0; i < picture.links.size(); ++i) {
    if (!item(LinkObject(i, picture.links[i]), i == 0)) return false;
  }
  json.text += "\n  ]\n}\n";
  return json.PassOn();
}

}  // namespace mapvine
