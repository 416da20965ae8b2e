// Hovering a node or a link names it: a node's name, kind, status and the
// LUs it folds; a
// link's ends, TG number and status.
#include <QHelpEvent>
#include <QToolTip>

#include "dialogs/DetailTexts.h"
#include "model/LuFold.h"
#include "view/MapvineView.h"
#include "export/NameText.h"

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

QString CMapvineView::ToolTipAt(Point at) {
  if (const CNode* node = renderer_.Index().NodeAt(at)) return NodeTip(*node);
  if (const CLink* link = renderer_.Index().LinkAt(at)) return LinkTip(*link);
  return {};
}

bool CMapvineView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QString tip = ToolTipAt(zoom_.ToPicture(help->pos()));
  if (tip.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), tip, viewport());
  }
  return true;
}

}  // namespace mapvine
