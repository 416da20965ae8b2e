#pragma once

#include <optional>
#include <vector>

#include "graphics/CLink.h"
#include "graphics/CSprite.h"
#include "graphics/SpatialGrid.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// Where the document's nodes and links lie on the picture, so that drawing
// or hit testing one area of a large picture visits only what is near it.
// It is a snapshot: the view marks it stale whenever the document may have
// changed and it is built again on the next use.
class PictureIndex {
 public:
  explicit PictureIndex(const CMapvineDoc& doc) : doc_(doc) {}

  void MarkStale() { stale_ = true; }

  // Whether the node is one of the picture's. A quicker walk than the
  // document's list, for a paint that uses the index anyway.
  bool Lists(const CSprite* node);
  // Nodes whose icon or label band may reach `area`, in drawing order
  // (ascending depth), hidden ones included.
  std::vector<const CSprite*> NodesNear(const Rect& area);
  // Links whose line may reach `area`, in drawing order.
  std::vector<const CLink*> LinksNear(const Rect& area);
  // The node list's hit test, asking only the nodes near the point: the
  // first shown node in list order whose icon has an opaque pixel there, or
  // whose mark of folded LUs lies there; LUs folded away are not shown.
  CSprite* NodeAt(Point p);
  // The link list's hit test likewise: the nearest line through the point,
  // the first in list order among equally near ones.
  CLink* LinkAt(Point p);

 private:
  void Build();

  const CMapvineDoc& doc_;
  bool stale_ = true;
  std::vector<CSprite*> nodes_;  // in list order
  std::vector<CLink*> links_;
  std::optional<SpatialGrid> nodeGrid_;
  std::optional<SpatialGrid> linkGrid_;
};

}  // namespace mapvine
