#pragma once

#include <QPointF>

#include <string>
#include <string_view>
#include <vector>

#include "export/PictureImages.h"
#include "graphics/Geometry.h"
#include "model/CLink.h"
#include "model/CNode.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// What a link stands for: a transmission group, an end node's or LU's link
// to the node that owns it, or a line a person drew.
enum class LinkKind { Tg, Owner, Manual };

// A node as an export writes it: plain values copied from the document.
struct ExportedNode {
  std::string fqName;
  std::string label;
  int nodeType = 0;
  ResourceStatus status = ResourceStatus::Active;
  bool hidden = false;
  Rect icon;
  Point centre;
  Rect labelArea;
  Point labelOrigin;
  int image = -1;  // into the picture's icons; -1 for a node without one
  // The mark of the node's folded LUs: their count (0 for no mark), its
  // box, the band it is cut to and where the count starts.
  int foldedLus = 0;
  Rect foldBox;
  Rect foldArea;
  Point foldCountOrigin;
};

// A link as an export writes it, joining two nodes by their numbers.
struct ExportedLink {
  int from = 0;
  int to = 0;
  int tgNumber = 0;
  ResourceStatus status = ResourceStatus::Active;
  LinkKind kind = LinkKind::Manual;
  Point start;
  Point end;
};

// What an export writes, copied from the document on the GUI thread so
// that a worker can write it while the document lives on: the nodes and
// links in the order the picture draws them (links first, then the nodes
// in the node list's order, so that a node written later lies over one
// written earlier) and the images they are drawn from. Hidden nodes and
// LUs folded into their owner, and the links that end at them, are left
// out unless `includeHidden`; then no owner shows a mark of folded LUs.
struct ExportedPicture {
  int width = 0;
  int height = 0;
  bool includeHidden = false;
  std::vector<ExportedNode> nodes;
  std::vector<ExportedLink> links;
  PictureImages images;
};

ExportedPicture CollectPicture(const CMapvineDoc& doc, bool includeHidden);

// The words the exports use, one token each, so scripts can compare them.
std::string_view NodeKindName(int nodeType);   // "network-node", "end-node", ...
std::string_view StatusName(ResourceStatus status);  // "active" or "inactive"
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
LinkStroke StrokeOf(const ExportedLink& link);

}  // namespace mapvine
