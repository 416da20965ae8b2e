// The picture's graph in Graphviz's DOT language, laid out as the picture
// is: `neato -n2` keeps every position and draws the links straight.
// Graphviz measures in points with y growing upwards; the picture in
// pixels at 96 to the inch with y growing downwards.
#include <QByteArray>

#include <cstdio>

#include "export/ChunkedText.h"
#include "export/ExportWriters.h"
#include "export/PageTiling.h"
#include "export/WriteSteps.h"

namespace mapvine {

namespace {

constexpr double kPointsPerPixel = 72.0 / kScreenDotsPerInch;

// A double-quoted DOT string of a Latin-1 name, in UTF-8.
QByteArray Quoted(std::string_view text) {
  QByteArray quoted("\"");
  for (const QChar c : QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += QString(c).toUtf8();
  }
  return quoted + '"';
}

QByteArray Points(double pixels) { return QByteArray::number(pixels * kPointsPerPixel, 'f', 2); }

QByteArray Colour(ResourceStatus status) {
  const PaletteEntry c = CLink::ColorOf(status);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
  return QByteArray("\"") + text + '"';
}

}  // namespace

bool WriteDot(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress) {
  WriteSteps steps(progress, picture.nodes.size() + picture.links.size());
  ChunkedText dot{out, {}};
  dot.text += "graph \"APPN topology\" {\n";
  // notranslate: neato keeps the picture's origin instead of moving the
  // drawing into the corner.
  dot.text += "  graph [notranslate=true, bb=\"0,0," + Points(picture.width) + "," + Points(picture.height) + "\"];\n";
  dot.text += "  node [shape=box, fixedsize=true, fontsize=8, penwidth=2];\n";
  dot.text += "  edge [penwidth=2];\n";
  for (std::size_t i = 0; i < picture.nodes.size(); ++i) {
    const ExportedNode& node = picture.nodes[i];
    const Rect& r = node.icon;
    const Point& centre = node.centre;
    dot.text += "  n" + QByteArray::number(static_cast<qulonglong>(i)) + " [label=" + Quoted(node.label) +
           ", fqname=" + Quoted(node.fqName) + ", kind=\"" + QByteArray(NodeKindName(node.nodeType).data()) +
           "\", status=\"" + StatusName(node.status).data() + "\", color=" + Colour(node.status) + ", pos=\"" +
           Points(centre.x) + "," + Points(picture.height - centre.y) + "!\", width=" +
           QByteArray::number(r.Width() / kScreenDotsPerInch, 'f', 3) +
           ", height=" + QByteArray::number(r.Height() / kScreenDotsPerInch, 'f', 3);
    if (picture.includeHidden) dot.text += node.hidden ? ", hidden=true" : ", hidden=false";
    dot.text += "];\n";
    if (!dot.PassOnFull() || !steps.Next()) return false;
  }
  for (const ExportedLink& link : picture.links) {
    dot.text += "  n" + QByteArray::number(link.from) + " -- n" + QByteArray::number(link.to) + " [kind=\"" +
           LinkKindName(link.kind).data() + "\", tg=" + QByteArray::number(link.tgNumber) + ", status=\"" +
           StatusName(link.status).data() + "\", color=" + Colour(link.status) + "];\n";
    if (!dot.PassOnFull() || !steps.Next()) return false;
  }
  dot.text += "}\n";
  return dot.PassOn();
}

}  // namespace mapvine
