// Taking nodes and links out of the picture. A link is listed by its ends
// and, after a file was opened, by other nodes carrying an end's name; every
// one of those lists must lose it before it is destroyed.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "model/EditRecording.h"
#include "model/MapvineDoc.h"

namespace mapvine {

std::unique_ptr<CNode> CMapvineDoc::RemoveNode(CNode& node) {
  const std::vector<CLink*> links(node.links.begin(), node.links.end());
  DeleteLinks(links);
  if (recording_) recording_->NodeRemoving(node);
  if (view_) view_->NodeRemoving(node);
  nodeIndex_.Remove(node);
  std::erase(arrivals_, &node);
  foundAgain_.Forget(node);
  return nodes_.Remove(node);
}

void CMapvineDoc::DeleteLink(CLink& link) {
  CLink* const doomed[] = {&link};
  DeleteLinks(doomed);
}

void CMapvineDoc::DeleteLinks(std::span<CLink* const> doomed) {
  if (doomed.empty()) return;
  if (recording_) recording_->LinksRemoving(doomed);
  if (view_) {
    for (const CLink* link : doomed) view_->LinkRemoving(*link);
  }
  // A node may list thousands of links and the picture hold a hundred
  // thousand: each list that loses links is walked once, however many it
  // loses, and so is the document's.
  const std::unordered_set<const CLink*> gone(doomed.begin(), doomed.end());
  std::vector<CNode*> listers;
  for (CLink* link : doomed) {
    linkIndex_.Remove(*link);
    if (link->endA != nullptr) listers.push_back(link->endA);
    if (link->endB != nullptr) listers.push_back(link->endB);
    listers.insert(listers.end(), link->otherListers.begin(), link->otherListers.end());
  }
  std::sort(listers.begin(), listers.end());
  listers.erase(std::unique(listers.begin(), listers.end()), listers.end());
  auto isGone = [&gone](const CLink* link) { return gone.contains(link); };
  for (CNode* node : listers) node->links.RemoveIf(isGone);
  links_.RemoveIf(isGone);
  SetModified(true);
}

}  // namespace mapvine
