#include "refresh/RefreshCommand.h"

#include <cstdio>

#include "model/ChangeComparison.h"
#include "protocol/Aping.h"
#include "protocol/RecordFields.h"
#include "base/Trace.h"

namespace mapvine {
namespace {

// Progress texts pause this long so that the status bar gets to show them.
constexpr int kProgressPauseMilliseconds = 10;
constexpr int kProgressEvery = 10;

void ShowProgress(CMapvineDoc& doc, std::string_view text) {
  doc.ShowStatusText(text);
  Trace(text);
  if (DocumentView* view = doc.View()) view->Pause(kProgressPauseMilliseconds);
}

// Pings every displayed node; an unreachable one shows its inactive image,
// or is hidden when the settings say unreachable nodes are not shown. A stop
// asked for ends the pass after the node being checked.
void StatusPass(CMapvineDoc& doc, const SnaCtlFunction& snaCtl, RefreshProgress* progress) {
  int displayed = 0;
  int checked = 0;
  ShowProgress(doc, "Working... Checked status of nodes");
  if (progress) {
    int shown = 0;
    for (const auto& node : doc.Nodes()) shown += node->hidden ? 0 : 1;
    progress->Begin("Status", shown);
  }
  for (const auto& node : doc.Nodes()) {
    if (node->hidden) continue;
    if (progress && progress->StopRequested()) {
      TraceF("Status pass stopped after %i nodes", checked);
      break;
    }
    if (displayed % kProgressEvery == 0) {
      char text[64];
      std::snprintf(text, sizeof text, "Working... Checked status of %i nodes", displayed);
      ShowProgress(doc, text);
    }
    doc.TakeCheckedStatus(*node, StatusFor(ApingNode(snaCtl, node->fqName) == 1));
    if (!node->hidden) ++displayed;
    if (progress) progress->Step(++checked);
  }
  TraceF("Currently %i displayed nodes", displayed);
}

}  // namespace

RefreshOutcome RefreshCommand(CMapvineDoc& doc, const SnaCtlFunction& snaCtl,
                              RefreshProgress* progress) {
  DocumentView* view = doc.View();
  if (view) view->SetWaitCursor(true);
  const PictureSnapshot before(doc);
  doc.BatchStarts();
  NodeAnswers answers = AskNode(snaCtl);
  if (answers.tables.localControlPoint) {
    doc.localControlPoint = DecodeDirectoryRecord(*answers.tables.localControlPoint).name;
  }
  const RefreshOutcome outcome = dorefresh(doc, answers, progress);
  doc.TakeLinksOfUnreachableNodesDown();
  doc.BatchEnds();

  Trace("Nodes refresh complete, Getting Status...\n");
  if (doc.settings.activeQuery && outcome.topology.Succeeded()) StatusPass(doc, snaCtl, progress);
  doc.lastChanges = before.Compare(doc, outcome.Succeeded());
  // The status pass and the comparison change images and marks.
  if (view) view->RedrawAll();
  if (view) {
    view->SetWaitCursor(false);
    view->SetRefreshTimer(doc.settings.autoRefresh ? doc.settings.refreshSeconds * 1000 : 0);
  }
  if (progress) progress->End();
  return outcome;
}

}  // namespace mapvine
