// Adding nodes and keeping their images in step with their status.
#include <cstdio>
#include <string>

#include "model/MapvineDoc.h"
#include "model/NodeFetch.h"
#include "base/Trace.h"

namespace mapvine {
namespace {

// A node record's status byte: 0 means uncongested, anything else inactive.
constexpr std::size_t kNodeStatusByte = 33;

int StatusFromNodeRecord(const NodeDetail& record) { return record[kNodeStatusByte] == 0 ? 1 : 0; }

// A node takes a new record and the status it reports. Every refresh
// reports the node again, so the storage of the last record is reused.
void TakeNodeRecord(CSprite& node, const NodeDetail& record) {
  if (node.nodeDetail) {
    *node.nodeDetail = record;
  } else {
    node.nodeDetail = std::make_unique<NodeDetail>(record);
  }
  node.status = StatusFromNodeRecord(record);
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

int CMapvineDoc::NewNode(std::string_view resource, std::string_view fqName, int kind,
                         const NodeDetail* nodeRecord, const DirectoryDetail* directoryRecord) {
  const std::string resourceText(resource);
  const std::string fqText(fqName);
  TraceF("Entered CMapvineDoc::NewNode() for resource %s, fq %s\n", resourceText.c_str(),
         fqText.c_str());

  if (CSprite* existing = FindNode(resource)) {
    TraceF("Found resource for %s, fq %s\n", resourceText.c_str(), fqText.c_str());
    if (nodeRecord) {
      TakeNodeRecord(*existing, *nodeRecord);
      // A node that recovers or becomes congested must show it, as a new one would.
      ApplyStatusImage(*existing);
    }
    existing->reportedGeneration = refreshGeneration;
    lastFoundNode_ = existing;
    return kNodePresent;
  }
  TraceF("Did not find resource for %s, fq %s, adding...\n", resourceText.c_str(),
         fqText.c_str());
  if (kind < NetworkNode || kind > ConnectionNetwork) return kNodeInvalidKind;
  // A refresh adds a node right after finding the one it is about to be
  // linked to (an LU after its parent, an end node after its server), and
  // that link reads the found node and adds to its links: start fetching
  // it while the new node is set up.
  if (lastFoundNode_) FetchNode(*lastFoundNode_);

  auto node = std::make_unique<CSprite>();
  TraceF("CMapvineDoc::NewNode - Adding type %i\n", kind);
  const int activeSlot = kind;
  const int inactiveSlot = kind + kInactiveOffset;
  // Failure codes -2 to -5 name the kind whose icon could not be set.
  if (activeSlot >= static_cast<int>(workingImages.size())) return -1 - kind;
  node->SetImage(*workingImages[activeSlot], activeSlot, inactiveSlot);
  if (kind == EndNode) node->hidden = 1 - settings.showEnOnDiscovery;
  if (kind == LogicalUnit) node->hidden = 1 - settings.showLuOnDiscovery;
  nodesAdded = 1;
  node->imageIndex = kind;
  const KindRules rules = RulesFor(kind);
  if (rules.usesNodeRecord && nodeRecord) TakeNodeRecord(*node, *nodeRecord);
  if (rules.usesDirectoryRecord && directoryRecord) {
    node->directoryDetail = std::make_unique<DirectoryDetail>(*directoryRecord);
  }
  node->nodeType = kind;
  node->label = resourceText;
  node->fqName = fqText;
  node->reportedGeneration = refreshGeneration;

  CSprite& added = InsertNode(std::move(node));
  const Point place = NextPosition();
  added.SetPosition(place.x, place.y);
  modified_ = true;
  TraceF("CMapvineDoc::NewNode - Notifying view of resource for %s, fq %s", resourceText.c_str(),
         fqText.c_str());
  ApplyStatusImage(added);
  if (view_) view_->NodeChanged(added);
  return kNodeAdded;
}

void CMapvineDoc::ManualAddNode() {
  static int manualNodeCounter = 1;
  char name[32];
  std::snprintf(name, sizeof name, "ENNODE%i", manualNodeCounter++);
  placement.resizeWindowOnGrow = 0;
  NewNode(name, name, EndNode, nullptr, nullptr);
}

void CMapvineDoc::ShowImage(CSprite& node, int slot) {
  node.SetImage(*workingImages[slot], 0, 0);
  node.imageIndex = slot;
}

void CMapvineDoc::ApplyStatusImage(CSprite& node) {
  const int wanted = node.status == 1 ? node.activeImage : node.inactiveImage;
  if (node.imageIndex != 0 && node.imageIndex == wanted) return;
  // A slot the image table does not hold (a damaged file) leaves the node as it is.
  if (wanted < 0 || wanted >= static_cast<int>(workingImages.size())) return;
  ShowImage(node, wanted);
  if (view_) view_->NodeChanged(node);
  if (node.nodeType == EndNode || node.nodeType == LogicalUnit) {
    for (CLink* link : node.links) link->status = node.status;
  }
}

}  // namespace mapvine
