#include "refresh/RefreshCommand.h"

#include <cstdio>

#include "model/ChangeComparison.h"
#include "protocol/Aping.h"
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

// Every refresh reports an end node's or LU's link to its owner as active
// again, while the image rule leaves links alone when the node already
// shows its inactive image: an unreachable node takes its links down here.
void TakeLinksDownIfUnreachable(CSprite& node) {
  if (node.status != 0 || (node.nodeType != EndNode && node.nodeType != LogicalUnit)) return;
  for (CLink* link : node.links) link->status = 0;
}

// Also when no status pass runs this time: a node found unreachable
// earlier keeps that status until it answers again.
void TakeLinksDownOfUnreachableNodes(CMapvineDoc& doc) {
  for (const auto& node : doc.Nodes()) TakeLinksDownIfUnreachable(*node);
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
    node->status = ApingNode(snaCtl, node->fqName);
    doc.ApplyStatusImage(*node);
    TakeLinksDownIfUnreachable(*node);
    if (doc.settings.showUnreachable == 0 && node->status == 0) {
      node->hidden = 1;
    } else {
      ++displayed;
    }
    if (progress) progress->Step(++checked);
  }
  TraceF("Currently %i displayed nodes", displayed);
}

void RedrawAll(COSBView* offscreen) {
  if (!offscreen) return;
  offscreen->Render(nullptr);
  offscreen->CopyToScreen(nullptr);
}

}  // namespace

RefreshOutcome RefreshCommand(CMapvineDoc& doc, const SnaCtlFunction& snaCtl,
                              RefreshProgress* progress) {
  DocumentView* view = doc.View();
  COSBView* offscreen = view ? &view->OffscreenView() : nullptr;
  if (view) view->SetWaitCursor(true);
  // Nothing is composed or shown while nodes arrive.
  if (offscreen) offscreen->painting = true;
  const PictureSnapshot before(doc);
  NodeAnswers answers = AskNode(snaCtl);
  const RefreshOutcome outcome = dorefresh(doc, answers, progress);
  TakeLinksDownOfUnreachableNodes(doc);
  if (offscreen) offscreen->painting = false;
  RedrawAll(offscreen);

  Trace("Nodes refresh complete, Getting Status...\n");
  if (doc.settings.activeQuery == 1 && outcome.topology.Succeeded()) StatusPass(doc, snaCtl, progress);
  doc.lastChanges = before.Compare(doc, outcome.Succeeded());
  RedrawAll(offscreen);
  if (view) {
    view->SetWaitCursor(false);
    view->SetRefreshTimer(doc.settings.autoRefresh == 1 ? doc.settings.refreshSeconds * 1000 : 0);
  }
  if (progress) progress->End();
  return outcome;
}

}  // namespace mapvine
