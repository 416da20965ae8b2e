// Writing the edited texts of a detail dialog back into the picture.
#include "dialogs/DetailEdits.h"

#include <string_view>

namespace mapvine {
namespace {

// A network-qualified name as the dialogs show it never replaces a label,
// and neither does an emptied box: a node without a label could not be
// told apart on the picture nor found by name.
bool RenameToPlainName(CMapvineDoc& doc, CNode& node, std::string_view name) {
  if (name.empty() || name.find('.') != std::string_view::npos || name == node.label) {
    return false;
  }
  doc.RenameNode(node, name);
  return true;
}

bool SetStatusFromWord(ResourceStatus& status, std::string_view word) {
  const std::optional<ResourceStatus> wanted = StatusFromWord(word);
  if (!wanted || *wanted == status) return false;
  status = *wanted;
  return true;
}

bool FinishNodeEdits(CMapvineDoc& doc, CNode& node, bool changed) {
  doc.ApplyStatusImage(node);
  if (changed) doc.SetModified(true);
  return changed;
}

bool FinishLinkEdits(CMapvineDoc& doc, CLink& link, std::string_view status) {
  doc.LinkChanging(link);
  const bool changed = SetStatusFromWord(link.status, status);
  if (changed) doc.SetModified(true);
  return changed;
}

}  // namespace

bool ApplyDetailEdits(CMapvineDoc& doc, CNode& node, const NodeDetailTexts& texts) {
  doc.NodeChanging(node);
  bool changed = RenameToPlainName(doc, node, texts.name);
  changed = SetStatusFromWord(node.status, texts.status) || changed;
  return FinishNodeEdits(doc, node, changed);
}

bool ApplyDetailEdits(CMapvineDoc& doc, CNode& node, const DirectoryDetailTexts& texts) {
  return FinishNodeEdits(doc, node, RenameToPlainName(doc, node, texts.name));
}

bool ApplyDetailEdits(CMapvineDoc& doc, CLink& link, const TgDetailTexts& texts) {
  return FinishLinkEdits(doc, link, texts.status);
}

bool ApplyDetailEdits(CMapvineDoc& doc, CLink& link, const LinkDetailTexts& texts) {
  return FinishLinkEdits(doc, link, texts.status);
}

}  // namespace mapvine
