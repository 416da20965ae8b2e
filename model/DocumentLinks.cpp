// Adding links, reported by the node or drawn by hand.
#include <string>

#include "model/MapvineDoc.h"
#include "base/Trace.h"

namespace mapvine {
namespace {

// Parallel links between the same two nodes are offset diagonally so that
// each stays visible: 0, -5, +5, -10, +10, ... pixels.
int ParallelShift(int sameLinksBefore) {
  const int steps = (sameLinksBefore + 1) / 2;
  const int shift = 5 * steps;
  return sameLinksBefore % 2 == 1 ? -shift : shift;
}

void CountReport(CLink& link, int generation, bool active) {
  if (link.generation == generation) {
    link.reportCount += 1;
    if (active) link.activeReportCount += 1;
  } else {
    link.generation = generation;
    link.reportCount = 1;
    link.activeReportCount = active ? 1 : 0;
  }
  link.addedByHand = false;
  // Active only while every report of this refresh said so.
  link.status = StatusFor(link.reportCount == link.activeReportCount);
}

// Keeps the last reported record; a refresh reports every link again, so
// the storage of the previous report is reused rather than replaced.
void KeepRecord(std::unique_ptr<TgRecordBytes>& kept, const TgRecordBytes* record) {
  if (!record) {
    kept.reset();
  } else if (kept) {
    *kept = *record;
  } else {
    kept = std::make_unique<TgRecordBytes>(*record);
  }
}

// Joins `link` to the centres of `a` and `b`, both ends moved `shift`
// pixels along each axis (parallel links are offset diagonally).
void JoinEnds(CLink& link, CNode& a, CNode& b, int shift) {
  const Point centreA = a.GetCenter();
  const Point centreB = b.GetCenter();
  link.x1 = centreA.x + shift;
  link.y1 = centreA.y + shift;
  link.x2 = centreB.x + shift;
  link.y2 = centreB.y + shift;
  link.UpdateBounds();
  link.endA = &a;
  link.endB = &b;
}

}  // namespace

void CMapvineDoc::AttachToEnds(CLink& link) {
  link.endA->links.Add(&link);
  // A link from a node to itself is listed once, so that moving the node
  // moves each end of the line once.
  if (link.endB != link.endA) link.endB->links.Add(&link);
}

int CMapvineDoc::NewLink(std::string_view owner, std::string_view destination, bool active,
                         int tgNumber, const TgRecordBytes* tgRecord) {
  const std::string ownerText(owner);
  const std::string destinationText(destination);
  TraceF("CMapvineDoc::NewLink(1) called for %s - %s, tg: %i\n", ownerText.c_str(),
         destinationText.c_str(), tgNumber);
  if (CLink* found = linkIndex_.Find(owner, destination, tgNumber)) {
    TraceF("CMapvineDoc::NewLink(1) Found link for %s - %s, tg: %i\n", ownerText.c_str(),
           destinationText.c_str(), tgNumber);
    CountReport(*found, refreshGeneration_, active);
    KeepRecord(found->tgRecord, tgRecord);
    return kLinkUpdated;
  }
  TraceF("CMapvineDoc::NewLink(1) Did not find link for %s - %s, tg: %i\n", ownerText.c_str(),
         destinationText.c_str(), tgNumber);
  const auto [a, b] = nodeIndex_.FindLinkEnds(owner, destination);
  if (!a) return kLinkOwnerMissing;
  if (!b) return kLinkDestinationMissing;

  auto created = std::make_unique<CLink>();
  created->ownerName = ownerText;
  created->destinationName = destinationText;
  created->title = ownerText + " - " + destinationText;
  created->tgNumber = tgNumber;
  KeepRecord(created->tgRecord, tgRecord);
  // Not counted yet: a fresh link has no report of any generation.
  created->generation = refreshGeneration_ - 1;
  CountReport(*created, refreshGeneration_, active);
  JoinEnds(*created, *a, *b, ParallelShift(linkIndex_.CountOfPair(owner, destination)));
  CLink& link = AppendLink(std::move(created));
  AttachToEnds(link);
  PictureChanged(link.bounds);
  SetModified(true);
  return kLinkAdded;
}

int CMapvineDoc::NewLink(CNode& first, CNode& second) {
  Trace("CMapvineDoc::NewLink(2) Called for manual link add\n");
  auto created = std::make_unique<CLink>();
  created->ownerName = first.label;
  created->destinationName = second.label;
  created->title = first.label + " - " + second.label;
  created->addedByHand = true;
  AppendJoinedLink(std::move(created), first, second);
  return kLinkAdded;
}

CLink& CMapvineDoc::AppendJoinedLink(std::unique_ptr<CLink> created, CNode& a, CNode& b) {
  JoinEnds(*created, a, b, 0);
  CLink& link = AppendLink(std::move(created));
  AttachToEnds(link);
  PictureChanged(link.bounds);
  SetModified(true);
  return link;
}

}  // namespace mapvine
