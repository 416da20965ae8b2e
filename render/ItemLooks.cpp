#include "render/ItemLooks.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

#include "model/LuFold.h"
#include "model/NodeRecords.h"

namespace mapvine {

namespace {

std::uint64_t HashOf(const void* item) { return reinterpret_cast<std::uintptr_t>(item); }

// Where CSprite::GetCenter puts it, from the icon the index has just read.
Point CentreOf(const Rect& icon) { return {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}; }

}  // namespace

template <typename Item>
void ItemLooks::NumberAll(HashSlots<Numbered<Item>>& numbers, std::span<Item* const> items) {
  numbers.Clear();
  numbers.Reserve(items.size());
  for (std::size_t id = 0; id < items.size(); ++id) {
    const Item* item = items[id];
    *numbers.FindOrAdd(HashOf(item), [item](const Numbered<Item>& n) { return n.item == item; }).first =
        {item, static_cast<int>(id)};
  }
}

template <typename Item>
int ItemLooks::Lookup(const HashSlots<Numbered<Item>>& numbers, const Item* item) {
  if (item == nullptr) return kNone;
  const Numbered<Item>* found =
      numbers.Find(HashOf(item), [item](const Numbered<Item>& n) { return n.item == item; });
  return found != nullptr ? found->id : kNone;
}

void ItemLooks::Take(std::span<CNode* const> nodes, std::span<const Rect> icons,
                     std::span<CLink* const> links, bool sameNodes) {
  for (int stage = 0; stage < kTakeStages; ++stage) TakeStage(stage, nodes, icons, links, sameNodes);
}

void ItemLooks::TakeStage(int stage, std::span<CNode* const> nodes, std::span<const Rect> icons,
                          std::span<CLink* const> links, bool sameNodes) {
  switch (stage) {
    case 0:
      TakeNodes(nodes, icons, sameNodes);
      break;
    case 1:
      TakeLinks(links, sameNodes);
      break;
    case 2:
      LinkEndsToNodes();
      TakeOwnerCandidates();
      break;
    default:
      FindFoldOwners();
      for (LinkLook& look : links_) FoldLinkEnd(look);
      retaken_ = {};
      folded_.clear();
      foldedKnown_ = false;
      break;
  }
}

namespace {

ItemLooks::NodeLook LookOf(const CNode& node, const Rect& icon, int foldOwner) {
  return {&node,
          CentreOf(icon),
          foldOwner,
          node.nodeType,
          node.changeMark,
          node.hidden,
          node.lusFolded,
          node.imageIndex != 0 && node.imageIndex != node.activeImage,
          node.stale};
}

}  // namespace

void ItemLooks::TakeNodes(std::span<CNode* const> nodes, std::span<const Rect> icons,
                          bool sameNodes) {
  if (!sameNodes) NumberAll(nodeNumbers_, nodes);
  nodes_.resize(nodes.size());
  for (std::size_t id = 0; id < nodes.size(); ++id) nodes_[id] = LookOf(*nodes[id], icons[id], kNone);
  RebuildShownNodes();
}

void ItemLooks::RebuildShownNodes() {
  shownNodes_.clear();
  for (std::size_t id = 0; id < nodes_.size(); ++id) {
    if (!nodes_[id].hidden) shownNodes_.push_back(static_cast<int>(id));
  }
}

void ItemLooks::TakeLinks(std::span<CLink* const> links, bool sameNodes) {
  bool sameLinks = links.size() == links_.size();
  for (std::size_t id = 0; sameLinks && id < links.size(); ++id) {
    sameLinks = links_[id].link == links[id];
  }
  if (!sameLinks) NumberAll(linkNumbers_, links);
  // Numbers of the same nodes stay valid while the node list does.
  const std::size_t endsKnown = sameNodes ? std::min(endsTaken_.size(), links.size()) : 0;
  endsTaken_.resize(links.size());
  links_.resize(links.size());
  listedElsewhere_ = false;
  for (std::size_t id = 0; id < links.size(); ++id) {
    LinkLook& look = links_[id];
    look.link = links[id];
    if (id >= endsKnown) {
      look.endA = NumberOf(look.link->endA);
      look.endB = NumberOf(look.link->endB);
      endsTaken_[id] = {look.link->endA, look.link->endB};
    }
    RetakeLink(static_cast<int>(id));
  }
}

void ItemLooks::RetakeNode(int id, const Rect& icon) {
  NodeLook& look = nodes_[static_cast<std::size_t>(id)];
  const NodeLook was = look;
  look = LookOf(*was.node, icon, was.foldOwner);
  retaken_.shown = retaken_.shown || look.hidden != was.hidden;
  retaken_.folds = retaken_.folds || look.lusFolded != was.lusFolded;
}

void ItemLooks::RetakeLink(int id) {
  LinkLook& look = links_[static_cast<std::size_t>(id)];
  const CLink& link = *look.link;
  listedElsewhere_ = listedElsewhere_ || !link.otherListers.empty();
  const std::pair<const CNode*, const CNode*> ends{link.endA, link.endB};
  auto& taken = endsTaken_[static_cast<std::size_t>(id)];
  if (taken != ends) {
    look.endA = NumberOf(link.endA);
    look.endB = NumberOf(link.endB);
    taken = ends;
    retaken_.ends = true;
  }
  look.from = {link.x1, link.y1};
  look.to = {link.x2, link.y2};
  look.changeMark = link.changeMark;
  look.active = IsActive(link.status);
  look.stale = link.stale;
  retaken_.links.push_back(id);
}

void ItemLooks::Settle() {
  const Retaken retaken = std::exchange(retaken_, {});
  if (retaken.ends) {
    LinkEndsToNodes();
    TakeOwnerCandidates();
  }
  if (retaken.shown) RebuildShownNodes();
  // Who an LU folds into depends on whether its neighbours are shown.
  if (retaken.ends || retaken.shown) FindFoldOwners();
  if (retaken.ends || retaken.shown || retaken.folds) {
    for (LinkLook& look : links_) FoldLinkEnd(look);
  } else {
    for (const int id : retaken.links) FoldLinkEnd(links_[static_cast<std::size_t>(id)]);
  }
  folded_.clear();
  foldedKnown_ = false;
}

void ItemLooks::Renumber(std::span<const int> newId) {
  const auto renumbered = [&](int id) { return id == kNone ? kNone : newId[static_cast<std::size_t>(id)]; };
  std::vector<NodeLook> nodes(nodes_.size());
  for (std::size_t id = 0; id < nodes_.size(); ++id) {
    NodeLook& look = nodes[static_cast<std::size_t>(newId[id])];
    look = nodes_[id];
    look.foldOwner = renumbered(look.foldOwner);
    if (newId[id] != static_cast<int>(id)) {
      const CNode* node = look.node;
      auto* numbered =
          nodeNumbers_.Find(HashOf(node), [node](const Numbered<CNode>& n) { return n.item == node; });
      if (numbered != nullptr) numbered->id = newId[id];
    }
  }
  nodes_ = std::move(nodes);
  for (LinkLook& look : links_) {
    look.endA = renumbered(look.endA);
    look.endB = renumbered(look.endB);
  }
  // Each node's candidates move with it; their own numbers are renumbered.
  std::vector<int> start(candidateStart_.size(), 0);
  for (std::size_t id = 0; id + 1 < candidateStart_.size(); ++id) {
    start[static_cast<std::size_t>(newId[id]) + 1] = candidateStart_[id + 1] - candidateStart_[id];
  }
  for (std::size_t n = 1; n < start.size(); ++n) start[n] += start[n - 1];
  std::vector<int> candidates(candidates_.size());
  for (std::size_t id = 0; id + 1 < candidateStart_.size(); ++id) {
    int at = start[static_cast<std::size_t>(newId[id])];
    for (int c = candidateStart_[id]; c < candidateStart_[id + 1]; ++c) {
      candidates[static_cast<std::size_t>(at++)] = renumbered(candidates_[static_cast<std::size_t>(c)]);
    }
  }
  candidateStart_ = std::move(start);
  candidates_ = std::move(candidates);
  LinkEndsToNodes();
  RebuildShownNodes();
  for (LinkLook& look : links_) FoldLinkEnd(look);
  folded_.clear();
  foldedKnown_ = false;
}

void ItemLooks::LinkEndsToNodes() {
  // Counted first, then filled: one block for all of them.
  linkStart_.assign(nodes_.size() + 1, 0);
  for (const LinkLook& look : links_) {
    if (look.endA != kNone) ++linkStart_[static_cast<std::size_t>(look.endA) + 1];
    if (look.endB != kNone && look.endB != look.endA) ++linkStart_[static_cast<std::size_t>(look.endB) + 1];
  }
  for (std::size_t n = 1; n < linkStart_.size(); ++n) linkStart_[n] += linkStart_[n - 1];
  linkIds_.resize(static_cast<std::size_t>(linkStart_.back()));
  std::vector<int> next(linkStart_.begin(), linkStart_.end() - 1);
  for (std::size_t id = 0; id < links_.size(); ++id) {
    const LinkLook& look = links_[id];
    if (look.endA != kNone) linkIds_[static_cast<std::size_t>(next[look.endA]++)] = static_cast<int>(id);
    if (look.endB != kNone && look.endB != look.endA) {
      linkIds_[static_cast<std::size_t>(next[look.endB]++)] = static_cast<int>(id);
    }
  }
}

void ItemLooks::TakeOwnerCandidates() {
  // Only LUs fold, into a node found along their links.
  candidateStart_.assign(nodes_.size() + 1, 0);
  candidates_.clear();
  for (std::size_t id = 0; id < nodes_.size(); ++id) {
    const CNode& node = *nodes_[id].node;
    if (node.nodeType == LogicalUnit) {
      for (const CLink* link : node.links) {
        candidates_.push_back(NumberOf(link->endA == &node ? link->endB : link->endA));
      }
    }
    candidateStart_[id + 1] = static_cast<int>(candidates_.size());
  }
}

void ItemLooks::FindFoldOwners() {
  // As LuOwner: the first other end that is shown and no LU. A hidden LU,
  // never drawn, is not looked for one.
  for (std::size_t id = 0; id < nodes_.size(); ++id) {
    NodeLook& look = nodes_[id];
    look.foldOwner = kNone;
    if (look.nodeType != LogicalUnit || look.hidden) continue;
    for (int c = candidateStart_[id]; c < candidateStart_[id + 1]; ++c) {
      const int other = candidates_[static_cast<std::size_t>(c)];
      if (other == kNone || other == static_cast<int>(id)) continue;
      const NodeLook& end = Node(other);
      if (!end.hidden && end.nodeType != LogicalUnit) {
        look.foldOwner = other;
        break;
      }
    }
  }
}

void ItemLooks::FoldLinkEnd(LinkLook& look) const {
  const bool joined = look.endA != kNone && look.endB != kNone;
  look.shown = joined && Shown(look.endA) && Shown(look.endB);
  look.foldA = look.endA != kNone ? Node(look.endA).foldOwner : kNone;
  look.foldB = look.endB != kNone ? Node(look.endB).foldOwner : kNone;
  look.foldedAway =
      (look.endA != kNone && FoldedAway(look.endA)) || (look.endB != kNone && FoldedAway(look.endB));
}

int ItemLooks::NumberOf(const CNode* node) const { return Lookup(nodeNumbers_, node); }

std::span<const int> ItemLooks::LinksAt(int node) const {
  const auto n = static_cast<std::size_t>(node);
  return std::span(linkIds_).subspan(static_cast<std::size_t>(linkStart_[n]),
                                     static_cast<std::size_t>(linkStart_[n + 1] - linkStart_[n]));
}

std::optional<int> ItemLooks::IdOf(const CNode& node) const {
  const int id = NumberOf(&node);
  return id != kNone ? std::optional(id) : std::nullopt;
}

std::optional<int> ItemLooks::IdOf(const CLink& link) const {
  const int id = Lookup(linkNumbers_, &link);
  return id != kNone ? std::optional(id) : std::nullopt;
}

bool ItemLooks::FoldedAway(int node) const {
  const int owner = Node(node).foldOwner;
  return owner != kNone && Node(owner).lusFolded;
}

const FoldedLus& ItemLooks::FoldedInto(int owner) {
  if (!foldedKnown_) {
    CountFoldedLus();
    foldedKnown_ = true;
  }
  return folded_[static_cast<std::size_t>(owner)];
}

void ItemLooks::CountFoldedLus() {
  folded_.resize(nodes_.size());
  for (std::size_t id = 0; id < nodes_.size(); ++id) folded_[id] = {0, nodes_[id].changeMark};
  if (listedElsewhere_) {
    for (std::size_t id = 0; id < nodes_.size(); ++id) {
      // Nothing folds into an LU.
      if (nodes_[id].nodeType == LogicalUnit) continue;
      folded_[id] = FoldedIntoWhere(*nodes_[id].node, [&](const CNode& other) {
        if (other.nodeType != LogicalUnit) return false;
        const int lu = NumberOf(&other);
        return lu != kNone && Node(lu).foldOwner == static_cast<int>(id);
      });
    }
    return;
  }
  // Otherwise an owner lists exactly the links it is an end of: each link
  // from an LU to the owner it folds into counts, read straight through.
  for (const LinkLook& link : links_) {
    for (const auto& [owner, lu, luFoldsInto] : {std::tuple{link.endA, link.endB, link.foldB},
                                                std::tuple{link.endB, link.endA, link.foldA}}) {
      if (owner == kNone || luFoldsInto != owner || Node(lu).hidden) continue;
      FoldedLus& folded = folded_[static_cast<std::size_t>(owner)];
      ++folded.count;
      folded.change = MorePressing(folded.change, MorePressing(Node(lu).changeMark, link.changeMark));
    }
  }
}

}  // namespace mapvine
