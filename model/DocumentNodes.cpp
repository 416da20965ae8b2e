// Adding nodes and keeping their images in step with their status.
#include <cstdio>
#include <string>

#include "model/MapvineDoc.h"
#include "base/Trace.h"

namespace mapvine {
namespace {

// A node takes a new record and the status it reports. Every refresh
// reports the node again, so the storage of the last record is reused.
void TakeNodeRecord(CNode& node, const ReportedNodeRecord& record) {
  if (node.nodeRecord) {
    *node.nodeRecord = record.bytes;
  } else {
    node.nodeRecord = std::make_unique<NodeRecordBytes>(record.bytes);
  }
  node.status = StatusFor(record.active);
}

void TakeLinksDownIfUnreachable(CNode& node) {
  if (IsActive(node.status) || (node.nodeType != EndNode && node.nodeType != LogicalUnit)) return;
  for (CLink* link : node.links) link->status = ResourceStatus::Inactive;
}

struct KindRules {
  bool usesNodeRecord;
  bool usesDirectoryRecord;
};

KindRules RulesFor(int kind) {
  switch (kind) {
    case NetworkNode:
    case ConnectionNetwork:
      return {true, false};
    case EndNode:
      return {true, true};
    default:  // LogicalUnit
      return {false, true};
  }
}

}  // namespace

NewNodeResult CMapvineDoc::NewNode(std::string_view resource, std::string_view fqName, int kind,
                                   const ReportedNodeRecord* nodeRecord,
                                   const DirectoryRecordBytes* directoryRecord) {
  const std::string resourceText(resource);
  const std::string fqText(fqName);
  TraceF("Entered CMapvineDoc::NewNode() for resource %s, fq %s\n", resourceText.c_str(),
         fqText.c_str());

  if (CNode* existing = FindNode(resource)) {
    TraceF("Found resource for %s, fq %s\n", resourceText.c_str(), fqText.c_str());
    if (nodeRecord) {
      TakeNodeRecord(*existing, *nodeRecord);
      // A node that recovers or becomes congested must show it, as a new one would.
      ApplyStatusImage(*existing);
    }
    foundAgain_.Note(*existing);
    return NewNodeResult::Present;
  }
  TraceF("Did not find resource for %s, fq %s, adding...\n", resourceText.c_str(),
         fqText.c_str());
  if (kind < NetworkNode || kind > ConnectionNetwork) return NewNodeResult::InvalidKind;

  auto node = std::make_unique<CNode>();
  TraceF("CMapvineDoc::NewNode - Adding type %i\n", kind);
  const int activeSlot = kind;
  const int inactiveSlot = kind + kInactiveOffset;
  if (activeSlot >= static_cast<int>(workingImages.size())) return NewNodeResult::IconMissing;
  node->SetImage(*workingImages[activeSlot], activeSlot, inactiveSlot);
  if (kind == EndNode) node->hidden = !settings.showEnOnDiscovery;
  if (kind == LogicalUnit) node->hidden = !settings.showLuOnDiscovery;
  nodesAdded = true;
  node->imageIndex = kind;
  const KindRules rules = RulesFor(kind);
  if (rules.usesNodeRecord && nodeRecord) TakeNodeRecord(*node, *nodeRecord);
  if (rules.usesDirectoryRecord && directoryRecord) {
    node->directoryRecord = std::make_unique<DirectoryRecordBytes>(*directoryRecord);
  }
  node->nodeType = kind;
  node->label = resourceText;
  node->fqName = fqText;
  node->reportedGeneration = refreshGeneration_;

  CNode& added = InsertNode(std::move(node));
  const Point place = AdvancePlacement();
  added.SetPosition(place.x, place.y);
  SetModified(true);
  TraceF("CMapvineDoc::NewNode - Notifying view of resource for %s, fq %s", resourceText.c_str(),
         fqText.c_str());
  ApplyStatusImage(added);
  if (view_) view_->NodeChanged(added);
  return NewNodeResult::Added;
}

void CMapvineDoc::ManualAddNode() {
  static int manualNodeCounter = 1;
  char name[32];
  std::snprintf(name, sizeof name, "ENNODE%i", manualNodeCounter++);
  placement.resizeWindowOnGrow = false;
  if (NewNode(name, name, EndNode, nullptr, nullptr) == NewNodeResult::Added) {
    FindNode(name)->addedByHand = true;
  }
}

void CMapvineDoc::ShowImage(CNode& node, int slot) {
  node.SetImage(*workingImages[slot], 0, 0);
  node.imageIndex = slot;
}

void CMapvineDoc::ApplyStatusImage(CNode& node) {
  const int wanted = IsActive(node.status) ? node.activeImage : node.inactiveImage;
  if (node.imageIndex != 0 && node.imageIndex == wanted) return;
  // A slot the image table does not hold (a damaged file) leaves the node as it is.
  if (wanted < 0 || wanted >= static_cast<int>(workingImages.size())) return;
  ShowImage(node, wanted);
  if (view_) view_->NodeChanged(node);
  if (node.nodeType == EndNode || node.nodeType == LogicalUnit) {
    for (CLink* link : node.links) {
      if (link->status == node.status) continue;
      LinkChanging(*link);
      link->status = node.status;
    }
  }
}

void CMapvineDoc::TakeCheckedStatus(CNode& node, ResourceStatus status) {
  const bool statusChanged = node.status != status;
  const bool wasHidden = node.hidden;
  const int imageBefore = node.imageIndex;
  node.status = status;
  ApplyStatusImage(node);
  TakeLinksDownIfUnreachable(node);
  if (!settings.showUnreachable && !IsActive(status)) node.hidden = true;
  // A new image was announced already; a node hidden now (its lines go with
  // it) or links taken down under the same image were not.
  const bool announced = node.imageIndex != imageBefore;
  if (view_ && !announced && (statusChanged || node.hidden != wasHidden)) view_->NodeChanged(node);
}

void CMapvineDoc::TakeLinksOfUnreachableNodesDown() {
  for (const auto& node : nodes_) TakeLinksDownIfUnreachable(*node);
}

void CMapvineDoc::BatchStarts() {
  if (view_) view_->BatchStarted();
}

void CMapvineDoc::BatchEnds() {
  if (view_) view_->BatchEnded();
}

void CMapvineDoc::StartReportRound() {
  refreshGeneration_ += 1;
  placement.resizeWindowOnGrow = false;
  foundAgain_.Clear();
}

void CMapvineDoc::FinishReportRound() { foundAgain_.MarkReported(refreshGeneration_); }

}  // namespace mapvine
