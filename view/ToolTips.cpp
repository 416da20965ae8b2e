#include "view/ToolTips.h"

#include <string>

#include "dialogs/DetailTexts.h"
#include "export/NameText.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

const char* StatusWord(ResourceStatus status) {
  return IsActive(status) ? "active" : "inactive";
}

// Names read from a file may hold anything, '<' included: the tip is
// written as rich text with the names escaped.
QString TipText(const std::string& text) {
  return QStringLiteral("<qt>") + NameToQt(text).toHtmlEscaped().replace('\n', "<br>");
}

QString NodeTip(const CNode& node) {
  std::string text = node.label;
  if (!node.fqName.empty() && node.fqName != node.label) text += " (" + node.fqName + ")";
  text += "\n" + dialog::NodeKindText(node.nodeType) + ", " + StatusWord(node.status);
  if (const int folded = FoldedLuCount(node); folded > 0) text += "\n" + FoldCountText(folded) + " folded";
  return TipText(text);
}

QString LinkTip(const CLink& link) {
  const std::string text = LinkNameText(link) + "\nTG " + std::to_string(link.tgNumber) + ", " +
                     StatusWord(link.status);
  return TipText(text);
}

}  // namespace

QString ToolTipAt(PictureIndex& index, Point at) {
  if (const CNode* node = index.NodeAt(at)) return NodeTip(*node);
  if (const CLink* link = index.LinkAt(at)) return LinkTip(*link);
  return {};
}

}  // namespace mapvine
