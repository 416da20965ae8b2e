// The picture's graph as JSON, after docs/export.schema.json: the content
// of the GraphML export, for scripts.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

bool WriteJson(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress) {
  WriteSteps steps(progress, picture.nodes.size() + picture.links.size());
  QJsonArray nodes;
  for (std::size_t i = 0; i < picture.nodes.size(); ++i) {
    nodes.append(NodeObject(i, picture.nodes[i], picture.includeHidden));
    if (!steps.Next()) return false;
  }
  QJsonArray links;
  for (std::size_t i = 0; i < picture.links.size(); ++i) {
    links.append(LinkObject(i, picture.links[i]));
    if (!steps.Next()) return false;
  }
  const QJsonObject document{
      {"format", "mapvine-topology"},
      {"version", kSchemaVersion},
      {"width", picture.width},
      {"height", picture.height},
      {"includesHidden", picture.includeHidden},
      {"nodes", nodes},
      {"links", links},
  };
  const QByteArray text = QJsonDocument(document).toJson(QJsonDocument::Indented);
  return out.write(text) == text.size();
}

}  // namespace mapvine
