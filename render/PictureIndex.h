#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
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
// When it must be built whole (the first picture, nodes that came or went),
// a window may spread the build over several turns (Prepare).
class PictureIndex {
 public:
  using Clock = std::chrono::steady_clock;

  // A picture of fewer nodes and links than `itemsReadAtOnce` is read
  // whole at once, however soon Prepare's deadline: it costs less than a
  // frame.
  static constexpr std::size_t kItemsReadAtOnce = 20000;
  explicit PictureIndex(const CMapvineDoc& doc, std::size_t itemsReadAtOnce = kItemsReadAtOnce);
  ~PictureIndex();
  PictureIndex(const PictureIndex&) = delete;
  PictureIndex& operator=(const PictureIndex&) = delete;

  // Brings the index up to date as far as `deadline` allows; true once it
  // is. Reading a large picture whole takes several calls, and a change
  // the document reports meanwhile is read once the build is done; anything
  // else is done at once. A question asked before then brings the index up
  // to date whatever that costs, so it never answers from a stale index.
  bool Prepare(Clock::time_point deadline);

  // The picture changed all over: every node and link is read again.
  void MarkStale() { changed_.whole = true; }
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
  void Update() { Prepare(Clock::time_point::max()); }
  bool FewShown() const;
  // Takes the node list's new order when it holds the same nodes as
  // before; false when nodes came or went.
  bool TakeNewOrder();

  // Reading the lists whole (PictureIndexBuild.cpp).
  struct Build;
  // Starts the build when the lists or the canvas changed; false when
  // reading what changed is enough.
  bool StartBuild();
  // Goes on with the build until it is done (true) or `deadline` passed.
  bool ContinueBuild(Clock::time_point deadline);
  bool BuildStillValid() const;
  // Reads a part of a list or a stage of the looks; the build's stage
  // moves on once one is done.
  void ReadNodes(Build& build, std::size_t items);
  void ReadLinks(Build& build, std::size_t items);
  void FileAll(Build& build, std::size_t items);
  // Drops everything read, so that the next build starts from nothing.
  void Forget();
  // A change reported while the build runs: everything is read again
  // once it is done. True while it runs.
  bool ChangedDuringBuild();

  void RetakeWhatChanged();
  void ClearChanged();
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
  const std::size_t itemsReadAtOnce_;
  // What changed since the last update.
  struct Changed {
    bool whole = true;
    // Many nodes were hidden or shown (NodesShownChanged): every node's
    // looks are read again, and nothing moved.
    bool shown = false;
    // Nodes and links filed where the picture changed, each once.
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
  std::unique_ptr<Build> build_;  // while the lists are read whole
};

}  // namespace mapvine
