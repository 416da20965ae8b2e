#pragma once

#include <QPointF>

#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/CLink.h"
#include "model/CNode.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// What a link stands for: a transmission group, an end node's or LU's link
// to the node that owns it, or a line a person drew.
enum class LinkKind { Tg, Owner, Manual };

// The nodes and links an export writes, in the order the picture draws
// them: links first, then the nodes in the node list's order, so that a
// node written later lies over one written earlier. Hidden nodes and LUs
// folded into their owner, and the links that end at them, are left out
// unless `includeHidden`; then no owner shows a mark of folded LUs.
struct ExportedPicture {
  int width = 0;
  int height = 0;
  bool includeHidden = false;
  std::vector<const CNode*> nodes;
  std::vector<const CLink*> links;
  // Each node's place in `nodes`, which the graph formats name it by.
  std::unordered_map<const CNode*, int> nodeNumbers;
};

ExportedPicture CollectPicture(const CMapvineDoc& doc, bool includeHidden);

// How many folded LUs the node's mark counts in this picture; 0 for none.
int FoldMarkCount(const ExportedPicture& picture, const CNode& node);

// The words the exports use, one token each, so scripts can compare them.
std::string_view NodeKindName(int nodeType);   // "network-node", "end-node", ...
std::string_view StatusName(ResourceStatus status);  // "active" or "inactive"
LinkKind KindOf(const CLink& link);
std::string_view LinkKindName(LinkKind kind);  // "tg", "owner" or "manual"

// A link's line as a vector stroke covering the pixels the picture sets:
// the picture widens its line across the main direction by one pixel
// towards the lower coordinate, so the band is 2 pixels tall (mostly
// horizontal lines) or wide (mostly vertical ones), and so narrower across
// the line the more it slants.
struct LinkStroke {
  QPointF from;
  QPointF to;
  double width = 2;
};
LinkStroke StrokeOf(const CLink& link);

}  // namespace mapvine
