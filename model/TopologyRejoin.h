#pragma once

#include "model/CLinkList.h"
#include "model/CSpriteList.h"

namespace mapvine::topology {

// Gives every loaded link its ends back from the stored end names, matched
// against the nodes' fully qualified names ignoring case. When several nodes
// carry a name, the last in list order becomes the end and every one of them
// lists the link (those that are not its ends are noted in its
// otherListers); a node lists a link at most once, even one that ends on it
// twice. An empty name stands for no end and matches nothing.
void RejoinLinks(const CSpriteList& nodes, const OwningLinkList& links);

}  // namespace mapvine::topology
