// The picture as SVG. Images travel as PNG data inside the file, each once
// in <defs>, and the picture refers to them: a large network shows tens of
// thousands of icons drawn from a handful of images, and its background is
// one image repeated, stretched or centred by the SVG itself.
#include <QBuffer>
#include <QFontInfo>
#include <QTextLayout>
#include <QXmlStreamWriter>

#include <cmath>
#include <vector>

#include "export/ExportWriters.h"
#include "export/LabelFont.h"
#include "export/NameShaping.h"
#include "export/NameText.h"
#include "export/WriteSteps.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

const QString kBackgroundImage = QStringLiteral("background-image");
const QString kXlink = QStringLiteral("http://www.w3.org/1999/xlink");

QString Number(int value) { return QString::number(value); }
QString Decimal(double value) { return QString::number(value, 'g', 10); }

QString ColourText(PaletteEntry colour) {
  return QStringLiteral("#%1%2%3")
      .arg(colour.red, 2, 16, QChar('0'))
      .arg(colour.green, 2, 16, QChar('0'))
      .arg(colour.blue, 2, 16, QChar('0'));
}

QString ColourText(QRgb colour) {
  return ColourText(PaletteEntry{static_cast<std::uint8_t>(qRed(colour)),
                                 static_cast<std::uint8_t>(qGreen(colour)),
                                 static_cast<std::uint8_t>(qBlue(colour)), 0});
}

QString PngData(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// Where each character of a label starts, from the start of its line, as
// the picture draws it: unsmoothed glyphs go on the whole pixel at or
// before their laid-out place. A name goes glyph for glyph, character for
// character, from the table of names.
std::vector<int> CharacterStarts(const QString& text, const NameShaping& names) {
  std::vector<int> starts;
  starts.reserve(static_cast<std::size_t>(text.size()));
  QList<quint32> glyphs;
  QList<QPointF> positions;
  double width = 0;
  if (names.Shape(text, glyphs, positions, width)) {
    for (const QPointF& position : positions) starts.push_back(static_cast<int>(position.x()));
    return starts;
  }
  QTextLayout layout(text, LabelFont());
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  for (int i = 0; i < text.size(); ++i) starts.push_back(static_cast<int>(std::floor(line.cursorToX(i))));
  return starts;
}

QString IconId(int icon) { return QStringLiteral("icon-%1").arg(icon); }

class SvgWriter {
 public:
  SvgWriter(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress)
      : picture_(picture), images_(picture.images), xml_(&out), steps_(progress, picture.nodes.size() + picture.links.size()) {}

  bool Write() {
    xml_.setAutoFormatting(false);
    xml_.writeStartDocument();
    xml_.writeStartElement(QStringLiteral("svg"));
    xml_.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml_.writeNamespace(kXlink, QStringLiteral("xlink"));
    xml_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml_.writeAttribute(QStringLiteral("width"), Number(picture_.width));
    xml_.writeAttribute(QStringLiteral("height"), Number(picture_.height));
    xml_.writeAttribute(QStringLiteral("viewBox"),
                        QStringLiteral("0 0 %1 %2").arg(picture_.width).arg(picture_.height));
    xml_.writeTextElement(QStringLiteral("title"), QStringLiteral("APPN topology"));
    if (!WriteDefinitions()) return false;
    WriteBackground();
    if (!WriteLinks() || !WriteNodes()) return false;
    xml_.writeEndElement();
    xml_.writeEndDocument();
    return !xml_.hasError();
  }

 private:
  // An embedded image, drawn pixel for pixel when scaled up, as the
  // picture itself is.
  void WriteImage(const QString& id, const QImage& image) {
    xml_.writeEmptyElement(QStringLiteral("image"));
    xml_.writeAttribute(QStringLiteral("id"), id);
    xml_.writeAttribute(QStringLiteral("width"), Number(image.width()));
    xml_.writeAttribute(QStringLiteral("height"), Number(image.height()));
    xml_.writeAttribute(QStringLiteral("image-rendering"), QStringLiteral("optimizeSpeed"));
    xml_.writeAttribute(kXlink, QStringLiteral("href"), PngData(image));
  }

  // Each image costs a PNG encoding: the writer may stop between two.
  bool WriteDefinitions() {
    xml_.writeStartElement(QStringLiteral("defs"));
    const QImage& background = images_.Background();
    if (!background.isNull()) {
      WriteImage(kBackgroundImage, background);
      if (images_.Arrangement() == BackgroundArrangement::Tile) {
        xml_.writeStartElement(QStringLiteral("pattern"));
        xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("background-tile"));
        xml_.writeAttribute(QStringLiteral("patternUnits"), QStringLiteral("userSpaceOnUse"));
        xml_.writeAttribute(QStringLiteral("width"), Number(background.width()));
        xml_.writeAttribute(QStringLiteral("height"), Number(background.height()));
        Use(kBackgroundImage);
        xml_.writeEndElement();
      }
    }
    for (std::size_t i = 0; i < images_.Icons().size(); ++i) {
      if (!steps_.GoOn()) return false;
      if (!images_.Icons()[i].isNull()) WriteImage(IconId(static_cast<int>(i)), images_.Icons()[i]);
    }
    xml_.writeEndElement();
    return steps_.GoOn();
  }

  void Use(const QString& id) {
    xml_.writeEmptyElement(QStringLiteral("use"));
    xml_.writeAttribute(kXlink, QStringLiteral("href"), "#" + id);
  }

  void Rectangle(int width, int height, const QString& fill) {
    xml_.writeEmptyElement(QStringLiteral("rect"));
    xml_.writeAttribute(QStringLiteral("width"), Number(width));
    xml_.writeAttribute(QStringLiteral("height"), Number(height));
    xml_.writeAttribute(QStringLiteral("fill"), fill);
  }

  void WriteBackground() {
    xml_.writeStartElement(QStringLiteral("g"));
    xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("background"));
    // What no layout covers shows the background's first colour.
    Rectangle(picture_.width, picture_.height, ColourText(images_.Uncovered()));
    const QImage& background = images_.Background();
    if (!background.isNull()) {
      switch (images_.Arrangement()) {
        case BackgroundArrangement::Tile:
          Rectangle(picture_.width, picture_.height, QStringLiteral("url(#background-tile)"));
          break;
        case BackgroundArrangement::Stretch:
          Use(kBackgroundImage);
          xml_.writeAttribute(QStringLiteral("transform"),
                              QStringLiteral("scale(%1 %2)")
                                  .arg(double(picture_.width) / background.width(), 0, 'g', 12)
                                  .arg(double(picture_.height) / background.height(), 0, 'g', 12));
          break;
        case BackgroundArrangement::Centre:
          Use(kBackgroundImage);
          xml_.writeAttribute(QStringLiteral("x"), Number(images_.CentredPlacement().x()));
          xml_.writeAttribute(QStringLiteral("y"), Number(images_.CentredPlacement().y()));
          break;
      }
    }
    xml_.writeEndElement();
  }

  bool WriteLinks() {
    xml_.writeStartElement(QStringLiteral("g"));
    xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("links"));
    xml_.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("2"));
    // Unsmoothed, as the picture draws them.
    xml_.writeAttribute(QStringLiteral("shape-rendering"), QStringLiteral("crispEdges"));
    for (const ExportedLink& link : picture_.links) {
      const QString status = QString::fromLatin1(StatusName(link.status));
      const QString owner = NameToQt(picture_.nodes[static_cast<std::size_t>(link.from)].fqName);
      const QString destination = NameToQt(picture_.nodes[static_cast<std::size_t>(link.to)].fqName);
      xml_.writeStartElement(QStringLiteral("g"));
      xml_.writeAttribute(QStringLiteral("class"), QStringLiteral("link"));
      xml_.writeAttribute(QStringLiteral("data-kind"), QString::fromLatin1(LinkKindName(link.kind)));
      xml_.writeAttribute(QStringLiteral("data-owner"), owner);
      xml_.writeAttribute(QStringLiteral("data-destination"), destination);
      xml_.writeAttribute(QStringLiteral("data-tg"), Number(link.tgNumber));
      xml_.writeAttribute(QStringLiteral("data-status"), status);
      QString title = owner + QStringLiteral(" - ") + destination;
      if (link.tgNumber != 0) title += QStringLiteral(", TG ") + Number(link.tgNumber);
      xml_.writeTextElement(QStringLiteral("title"), title + QStringLiteral(": ") + status);
      const LinkStroke stroke = StrokeOf(link);
      xml_.writeEmptyElement(QStringLiteral("line"));
      xml_.writeAttribute(QStringLiteral("x1"), Decimal(stroke.from.x()));
      xml_.writeAttribute(QStringLiteral("y1"), Decimal(stroke.from.y()));
      xml_.writeAttribute(QStringLiteral("x2"), Decimal(stroke.to.x()));
      xml_.writeAttribute(QStringLiteral("y2"), Decimal(stroke.to.y()));
      if (stroke.width != 2) xml_.writeAttribute(QStringLiteral("stroke-width"), Decimal(stroke.width));
      xml_.writeAttribute(QStringLiteral("stroke"), ColourText(CLink::ColorOf(link.status)));
      xml_.writeEndElement();
      if (!steps_.Next()) return false;
    }
    xml_.writeEndElement();
    return true;
  }

  bool WriteNodes() {
    xml_.writeStartElement(QStringLiteral("g"));
    xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("nodes"));
    xml_.writeAttribute(QStringLiteral("font-family"), QFontInfo(LabelFont()).family() + ", sans-serif");
    xml_.writeAttribute(QStringLiteral("font-size"), QStringLiteral("%1px").arg(LabelFont().pixelSize()));
    xml_.writeAttribute(QStringLiteral("fill"), ColourText(CNode::kLabelColor));
    // Unsmoothed where the renderer allows, as the picture draws them.
    xml_.writeAttribute(QStringLiteral("text-rendering"), QStringLiteral("optimizeSpeed"));
    const QString ascent = Number(LabelAscent());
    for (const ExportedNode& node : picture_.nodes) {
      const QString name = NameToQt(node.fqName);
      const QString label = NameToQt(node.label);
      const QString kind = QString::fromLatin1(NodeKindName(node.nodeType));
      const QString status = QString::fromLatin1(StatusName(node.status));
      xml_.writeStartElement(QStringLiteral("g"));
      xml_.writeAttribute(QStringLiteral("class"), QStringLiteral("node"));
      xml_.writeAttribute(QStringLiteral("data-name"), name);
      xml_.writeAttribute(QStringLiteral("data-label"), label);
      xml_.writeAttribute(QStringLiteral("data-kind"), kind);
      xml_.writeAttribute(QStringLiteral("data-status"), status);
      if (node.hidden) xml_.writeAttribute(QStringLiteral("data-hidden"), QStringLiteral("true"));
      xml_.writeTextElement(QStringLiteral("title"), name + QStringLiteral(" (") + kind +
                                                         QStringLiteral(", ") + status + QStringLiteral(")"));
      if (node.image >= 0) {
        Use(IconId(node.image));
        xml_.writeAttribute(QStringLiteral("x"), Number(node.icon.left));
        xml_.writeAttribute(QStringLiteral("y"), Number(node.icon.top));
      }
      WriteLabel(node, label, ascent);
      WriteFoldMark(node, ascent);
      xml_.writeEndElement();
      if (!steps_.Next()) return false;
    }
    xml_.writeEndElement();
    return true;
  }

  // The label is cut to its band under the icon, as the picture shows it.
  void WriteLabel(const ExportedNode& node, const QString& label, const QString& ascent) {
    if (label.isEmpty()) return;
    WriteCutText(node.labelArea, node.labelOrigin, label, ascent);
  }

  // Text starting at `at`, cut to `band`: a nested viewport clips without a
  // clip path of its own per node. Each character is a span of its own at
  // the pixel the picture draws it on, where renderers would place glyphs
  // between pixels; librsvg reads only one x a span.
  void WriteCutText(const Rect& band, Point at, const QString& text, const QString& ascent) {
    xml_.writeStartElement(QStringLiteral("svg"));
    xml_.writeAttribute(QStringLiteral("x"), Number(band.left));
    xml_.writeAttribute(QStringLiteral("y"), Number(band.top));
    xml_.writeAttribute(QStringLiteral("width"), Number(band.Width()));
    xml_.writeAttribute(QStringLiteral("height"), Number(band.Height()));
    xml_.writeStartElement(QStringLiteral("text"));
    xml_.writeAttribute(QStringLiteral("y"), ascent);
    const std::vector<int> starts = CharacterStarts(text, names_);
    for (int i = 0; i < text.size(); ++i) {
      xml_.writeStartElement(QStringLiteral("tspan"));
      xml_.writeAttribute(QStringLiteral("x"), Number(at.x - band.left + starts[static_cast<std::size_t>(i)]));
      xml_.writeCharacters(text.sliced(i, 1));
      xml_.writeEndElement();
    }
    xml_.writeEndElement();
    xml_.writeEndElement();
  }

  // The box and count of an owner's folded LUs, in the band under its label.
  void WriteFoldMark(const ExportedNode& node, const QString& ascent) {
    const int count = node.foldedLus;
    if (count == 0) return;
    const Rect& box = node.foldBox;
    xml_.writeStartElement(QStringLiteral("g"));
    xml_.writeAttribute(QStringLiteral("class"), QStringLiteral("folded-lus"));
    xml_.writeAttribute(QStringLiteral("data-count"), Number(count));
    xml_.writeEmptyElement(QStringLiteral("rect"));
    xml_.writeAttribute(QStringLiteral("x"), Number(box.left));
    xml_.writeAttribute(QStringLiteral("y"), Number(box.top));
    xml_.writeAttribute(QStringLiteral("width"), Number(box.Width()));
    xml_.writeAttribute(QStringLiteral("height"), Number(box.Height()));
    xml_.writeAttribute(QStringLiteral("fill"), ColourText(kFoldMarkColor));
    xml_.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#000000"));
    WriteCutText(node.foldArea, node.foldCountOrigin, QString::fromStdString(FoldCountText(count)), ascent);
    xml_.writeEndElement();
  }

  const ExportedPicture& picture_;
  const PictureImages& images_;
  QXmlStreamWriter xml_;
  WriteSteps steps_;
  const NameShaping names_{LabelFont()};
};

}  // namespace

bool WriteSvg(const ExportedPicture& picture, QIODevice& out, WorkProgress& progress) {
  return SvgWriter(picture, out, progress).Write();
}

}  // namespace mapvine
