#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/Geometry.h"
#include "model/CLink.h"
#include "model/CNode.h"
#include "model/HashSlots.h"
#include "render/LuFolding.h"

namespace mapvine {

// What a frame needs to know of each node and link, in flat arrays numbered
// as the picture index numbers them (their drawing order). A fitted frame of
// a large network asks it of every node and link: read from the nodes
// themselves, each answer chased pointers from a link to its ends and from
// an LU along its links to its owner, a trip to memory each. Here it is
// worked out once per change of the picture and read straight through.
//
// Like the index that keeps it, it is a snapshot: the index takes it whole
// when the lists change, and otherwise has it retake the nodes and links
// that changed and then settle what depends on them.
class ItemLooks {
 public:
  static constexpr int kNone = -1;

  struct NodeLook {
    const CNode* node = nullptr;
    Point centre;
    // The LU's owner (LuOwner), by number; a hidden LU, never drawn, is
    // not looked for one.
    int foldOwner = kNone;
    int nodeType = 0;
    ChangeMark changeMark = ChangeMark::None;
    bool hidden = false;
    bool lusFolded = false;
    bool inactiveImage = false;  // it shows its inactive image
    bool stale = false;
  };
  struct LinkLook {
    const CLink* link = nullptr;
    Point from, to;
    int endA = kNone, endB = kNone;  // by number; none while not joined
    int foldA = kNone, foldB = kNone;  // the ends' fold owners
    ChangeMark changeMark = ChangeMark::None;
    bool active = false;
    bool stale = false;
    bool shown = false;       // both ends are there and shown
    bool foldedAway = false;  // either end is folded away
  };

  // Takes the looks of `nodes`, whose icons lie at `icons`, and of
  // `links`, numbered by their place there. `sameNodes` says the node list
  // is the one taken last time, in the same order: then a link whose ends
  // are the same nodes keeps their numbers.
  void Take(std::span<CNode* const> nodes, std::span<const Rect> icons,
            std::span<CLink* const> links, bool sameNodes);
  // Take() a stage at a time, for a caller that spreads a large picture
  // over several turns: stages 0 .. kTakeStages - 1 in order, each given
  // the same lists. The looks answer nothing useful until the last.
  static constexpr int kTakeStages = 4;
  void TakeStage(int stage, std::span<CNode* const> nodes, std::span<const Rect> icons,
                 std::span<CLink* const> links, bool sameNodes);
  // Reads node `id` again, its icon now at `icon`, or link `id`; Settle()
  // then works out what depends on them (who is shown, which LUs fold into
  // which owner).
  void RetakeNode(int id, const Rect& icon);
  void RetakeLink(int id);
  void Settle();
  // The node list took a new order with the same nodes: node `id` is now
  // node `newId[id]`.
  void Renumber(std::span<const int> newId);

  const NodeLook& Node(int id) const { return nodes_[static_cast<std::size_t>(id)]; }
  const LinkLook& Link(int id) const { return links_[static_cast<std::size_t>(id)]; }
  std::size_t NodeCount() const { return nodes_.size(); }
  std::size_t LinkCount() const { return links_.size(); }
  // The numbers of the nodes not hidden, ascending.
  const std::vector<int>& ShownNodes() const { return shownNodes_; }
  // The numbers of the links that have `node` at an end, ascending.
  std::span<const int> LinksAt(int node) const;

  // A node's or a link's number; none for one the snapshot does not hold.
  std::optional<int> IdOf(const CNode& node) const;
  std::optional<int> IdOf(const CLink& link) const;

  bool Shown(int node) const { return !Node(node).hidden; }
  // Whether the node is an LU whose owner folds its LUs at every zoom.
  bool FoldedAway(int node) const;
  // How many LUs fold into `owner` and their most pressing change
  // (LuFolding.h), worked out for every node at the first question.
  const FoldedLus& FoldedInto(int owner);

 private:
  void TakeNodes(std::span<CNode* const> nodes, std::span<const Rect> icons, bool sameNodes);
  void TakeLinks(std::span<CLink* const> links, bool sameNodes);
  void LinkEndsToNodes();
  void TakeOwnerCandidates();
  void FindFoldOwners();
  void FoldLinkEnd(LinkLook& look) const;
  void RebuildShownNodes();
  void CountFoldedLus();
  int NumberOf(const CNode* node) const;

  template <typename Item>
  struct Numbered {
    const Item* item = nullptr;
    int id = kNone;
  };
  template <typename Item>
  static void NumberAll(HashSlots<Numbered<Item>>& numbers, std::span<Item* const> items);
  template <typename Item>
  static int Lookup(const HashSlots<Numbered<Item>>& numbers, const Item* item);

  std::vector<NodeLook> nodes_;
  std::vector<LinkLook> links_;
  std::vector<int> shownNodes_;
  // Each node's links, by number: the links at node n are
  // linkIds_[linkStart_[n] .. linkStart_[n + 1]).
  std::vector<int> linkStart_;
  std::vector<int> linkIds_;
  HashSlots<Numbered<CNode>> nodeNumbers_;
  HashSlots<Numbered<CLink>> linkNumbers_;
  // The ends each link had when its numbers were looked up.
  std::vector<std::pair<const CNode*, const CNode*>> endsTaken_;
  // What an LU may fold into, in the order LuOwner tries them: the other
  // ends of its links, by number, read once per change of the lists.
  std::vector<int> candidateStart_;
  std::vector<int> candidates_;
  // What the retakes since the last Settle() changed beyond themselves.
  struct Retaken {
    bool shown = false;   // a node was hidden or shown
    bool folds = false;   // an owner folded or unfolded its LUs
    bool ends = false;    // a link joins other nodes
    std::vector<int> links;
  };
  Retaken retaken_;
  std::vector<FoldedLus> folded_;
  bool foldedKnown_ = false;
  // Whether a node lists a link it is no end of (only a file with two
  // nodes of one name makes them): their LUs are then counted along each
  // owner's own list.
  bool listedElsewhere_ = false;
};

}  // namespace mapvine
