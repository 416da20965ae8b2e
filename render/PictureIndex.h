#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/CLink.h"
#include "model/CNode.h"
#include "graphics/SpatialGrid.h"
#include "model/MapvineDoc.h"
#include "render/ItemLooks.h"

namespace mapvine {

// Where the document's nodes and links lie on the picture, so that drawing
// or hit testing one area of a large picture visits only what is near it.
// It is a snapshot, told what changed as the picture is and brought up to
// date on the next use. Most changes touch a few nodes and lines and leave
// the lists as they are: then only what was filed where the picture changed
// is read again, as building it whole costs a large picture several frames.
class PictureIndex {
 public:
  explicit PictureIndex(const CMapvineDoc& doc) : doc_(doc) {}

  // The picture changed all over: every node and link is read again.
  void MarkStale() { wholeChanged_ = true; }
  // The picture changed inside `area`: what was filed there is read again,
  // and the links at the nodes among it.
  void AreaChanged(const Rect& area);
  // `nodes` changed how or where they show (image, status, visibility,
  // marks, place): they and the links at them are read again, and nothing
  // else, however far their lines reach.
  void NodesChanged(std::span<const CNode* const> nodes);
  // `nodes` were hidden or shown, or folded or unfolded their LUs, and
  // nothing else of them changed: read as NodesChanged reads, but when they
  // are many (a neighbourhood hides nearly all), every node's looks are
  // read straight through, and nothing is filed anew.
  void NodesShownChanged(std::span<const CNode* const> nodes);

  // Nodes whose icon or label band may reach `area`, in drawing order
  // (ascending depth), hidden ones included.
  std::vector<const CNode*> NodesNear(const Rect& area);
  // The node list's hit test, asking only the nodes near the point: the
  // first shown node in list order whose icon has an opaque pixel there, or
  // whose mark of folded LUs lies there; LUs folded away are not shown.
  CNode* NodeAt(Point p);
  // The link list's hit test likewise: the nearest line through the point,
  // the first in list order among equally near ones.
  CLink* LinkAt(Point p);

  // The same as numbers into Looks(): the nodes near `area` that are not
  // hidden, and the links near it with both ends shown. When few nodes are
  // shown (a neighbourhood), only they and their links are looked at.
  std::vector<int> ShownNodesNear(const Rect& area);
  // How many nodes NodesNear(area) answers, hidden ones included.
  std::size_t NodeCountNear(const Rect& area);
  std::vector<int> ShownLinksNear(const Rect& area);
  // What a frame needs of each node and link, numbered as the index numbers
  // them.
  ItemLooks& Looks();

 private:
  void Update();
  bool FewShown() const;
  // Takes the node list's new order when it holds the same nodes as
  // before; false when nodes came or went.
  bool TakeNewOrder();
  void BuildNodes();
  void BuildLinks();
  // Files the node anew if it moved; reads the link again, filing it anew
  // if it moved.
  void RefileNode(int id);
  void RetakeLink(int id);
  void RetakeAll();
  void RetakeChanged();
  // Marks node or link `id` changed, once; past a share of everything the
  // whole picture is read again instead.
  void MarkNode(int id);
  void MarkLink(int id);
  void MarkNodes(std::span<const CNode* const> nodes);
  // Past a share of everything, reading it all straight through is quicker
  // than following the marks.
  void ReadAllWhenMany();

  const CMapvineDoc& doc_;
  bool wholeChanged_ = true;
  // Many nodes were hidden or shown (NodesShownChanged): every node's looks
  // are read again, and nothing moved.
  bool shownChanged_ = false;
  // Nodes and links filed where the picture changed since the last update,
  // each once.
  struct Changed {
    std::vector<int> nodes, links;
    std::vector<char> nodeMarked, linkMarked;
  };
  Changed changed_;
  int width_ = 0;
  int height_ = 0;
  std::vector<CNode*> nodes_;  // in list order
  std::uint64_t nodeOrder_ = 0;  // the list's version they were taken at
  std::vector<Rect> nodeRects_;  // their icons as filed
  std::vector<CLink*> links_;
  std::uint64_t linkVersion_ = 0;  // the list's version they were taken at
  std::vector<SpatialGrid::Line> lines_;
  std::optional<SpatialGrid> nodeGrid_;
  std::optional<SpatialGrid> linkGrid_;
  ItemLooks looks_;
};

}  // namespace mapvine
