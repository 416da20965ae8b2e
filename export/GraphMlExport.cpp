// The picture's graph as GraphML. Every key is declared before the graph,
// as the format asks; the hidden key only when hidden nodes are written.
#include <QXmlStreamWriter>

#include "export/ExportWriters.h"
#include "export/NameText.h"
#include "export/WriteSteps.h"

namespace mapvine {

namespace {

struct Key {
  const char* id;
  const char* target;  // "node" or "edge"
  const char* name;
  const char* type;
};

constexpr Key kNodeKeys[] = {
    {"kind", "node", "kind", "string"},     {"name", "node", "name", "string"},
    {"label", "node", "label", "string"},   {"status", "node", "status", "string"},
    {"x", "node", "x", "int"},              {"y", "node", "y", "int"},
};
constexpr Key kHiddenKey{"hidden", "node", "hidden", "boolean"};
constexpr Key kEdgeKeys[] = {
    {"link-tg", "edge", "tg", "int"},
    {"link-status", "edge", "status", "string"},
    {"link-kind", "edge", "kind", "string"},
};

class GraphMlWriter {
 public:
  GraphMlWriter(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress)
      : picture_(picture), xml_(&out), steps_(progress, picture.nodes.size() + picture.links.size()) {}

  bool Write() {
    xml_.setAutoFormatting(true);
    xml_.setAutoFormattingIndent(1);
    xml_.writeStartDocument();
    xml_.writeStartElement(QStringLiteral("graphml"));
    xml_.writeDefaultNamespace(QStringLiteral("http://graphml.graphdrawing.org/xmlns"));
    for (const Key& key : kNodeKeys) WriteKey(key);
    if (picture_.includeHidden) WriteKey(kHiddenKey);
    for (const Key& key : kEdgeKeys) WriteKey(key);
    xml_.writeStartElement(QStringLiteral("graph"));
    xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("topology"));
    xml_.writeAttribute(QStringLiteral("edgedefault"), QStringLiteral("undirected"));
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i) {
      WriteNode(i, picture_.nodes[i]);
      if (!steps_.Next()) return false;
    }
    for (std::size_t i = 0; i < picture_.links.size(); ++i) {
      WriteEdge(i, picture_.links[i]);
      if (!steps_.Next()) return false;
    }
    xml_.writeEndElement();
    xml_.writeEndElement();
    xml_.writeEndDocument();
    return !xml_.hasError();
  }

 private:
  void WriteKey(const Key& key) {
    xml_.writeEmptyElement(QStringLiteral("key"));
    xml_.writeAttribute(QStringLiteral("id"), QLatin1String(key.id));
    xml_.writeAttribute(QStringLiteral("for"), QLatin1String(key.target));
    xml_.writeAttribute(QStringLiteral("attr.name"), QLatin1String(key.name));
    xml_.writeAttribute(QStringLiteral("attr.type"), QLatin1String(key.type));
  }

  void Data(const char* key, const QString& value) {
    xml_.writeStartElement(QStringLiteral("data"));
    xml_.writeAttribute(QStringLiteral("key"), QLatin1String(key));
    xml_.writeCharacters(value);
    xml_.writeEndElement();
  }

  void WriteNode(std::size_t number, const ExportedNode& node) {
    xml_.writeStartElement(QStringLiteral("node"));
    xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("n%1").arg(number));
    const Point& centre = node.centre;
    Data("kind", QString::fromLatin1(NodeKindName(node.nodeType)));
    Data("name", NameToQt(node.fqName));
    Data("label", NameToQt(node.label));
    Data("status", QString::fromLatin1(StatusName(node.status)));
    Data("x", QString::number(centre.x));
    Data("y", QString::number(centre.y));
    if (picture_.includeHidden) Data("hidden", node.hidden ? QStringLiteral("true") : QStringLiteral("false"));
    xml_.writeEndElement();
  }

  void WriteEdge(std::size_t number, const ExportedLink& link) {
    xml_.writeStartElement(QStringLiteral("edge"));
    xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("e%1").arg(number));
    xml_.writeAttribute(QStringLiteral("source"), QStringLiteral("n%1").arg(link.from));
    xml_.writeAttribute(QStringLiteral("target"), QStringLiteral("n%1").arg(link.to));
    Data("link-tg", QString::number(link.tgNumber));
    Data("link-status", QString::fromLatin1(StatusName(link.status)));
    Data("link-kind", QString::fromLatin1(LinkKindName(link.kind)));
    xml_.writeEndElement();
  }

  const ExportedPicture& picture_;
  QXmlStreamWriter xml_;
  WriteSteps steps_;
};

}  // namespace

bool WriteGraphMl(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress) {
  return GraphMlWriter(picture, out, progress).Write();
}

}  // namespace mapvine
