#include "model/EditRecording.h"

#include <utility>

#include "model/LinkKeys.h"
#include "model/NodeFetch.h"
#include "model/NodeIndex.h"

namespace mapvine {

EditRecording::EditRecording(CMapvineDoc& doc, bool withBackground)
    : doc_(&doc), placement_(doc.placement), arranged_(doc.arranged) {
  if (withBackground) background_ = BackgroundOf(doc);
  doc.SetEditRecording(this);
}

EditRecording::~EditRecording() { Detach(); }

void EditRecording::Detach() {
  if (doc_ != nullptr) doc_->SetEditRecording(nullptr);
}

namespace {

std::uint64_t HashOf(const CNode& node) { return std::hash<const CNode*>{}(&node); }
auto SlotOf(const CNode& node) {
  return [&node](const auto& slot) { return slot.node == &node; };
}

}  // namespace

EditRecording::TouchedNode* EditRecording::Touched(const CNode& node) {
  const NodeSlot* slot = nodeAt_.Find(HashOf(node), SlotOf(node));
  return slot == nullptr ? nullptr : &nodes_[slot->touched];
}

std::pair<EditRecording::TouchedNode*, bool> EditRecording::Entry(const CNode& node) {
  const auto [slot, added] = nodeAt_.FindOrAdd(HashOf(node), SlotOf(node));
  if (!added) return {&nodes_[slot->touched], false};
  *slot = {&node, static_cast<std::uint32_t>(nodes_.size())};
  nodes_.push_back({&node, std::nullopt, nullptr, doc_->FoundByItsName(node)});
  return {&nodes_.back(), true};
}

std::string EditRecording::NameBefore(const TouchedNode& touched) {
  // Only a rename changes a node's name, and only when the network did not
  // name it: the name it had follows from the label it had.
  const std::string& fqName = touched.node != nullptr ? touched.node->fqName : touched.identity->fqName;
  return std::string(ReportedName(touched.before->label, fqName));
}

void EditRecording::NodeChanging(const CNode& node) {
  if (const auto [touched, isNew] = Entry(node); isNew) touched->before = LookOf(node);
}

void EditRecording::ExpectNodes(std::size_t count) {
  nodes_.reserve(nodes_.size() + count);
  nodeAt_.Reserve(nodeAt_.Size() + count);
}

void EditRecording::NodeAdded(const CNode& node) { Entry(node); }

void EditRecording::NodeRemoving(const CNode& node) {
  NodeChanging(node);
  TouchedNode& touched = *Touched(node);
  // Undoing the removal makes the node anew.
  if (touched.before) touched.identity = std::make_unique<NodeIdentity>(IdentityOf(node));
  touched.node = nullptr;
  nodeAt_.Erase(HashOf(node), SlotOf(node));
}

void EditRecording::LinkChanging(const CLink& link) {
  if (linkAt_.contains(&link)) return;
  const CLink* const asked[] = {&link};
  linkAt_.emplace(&link, links_.size());
  links_.push_back({&link, KeysOfLinks(*doc_, asked).at(&link), StateOf(link)});
}

void EditRecording::LinkAdded(const CLink& link) {
  linkAt_.insert_or_assign(&link, links_.size());
  links_.push_back({&link, std::nullopt, std::nullopt});
}

void EditRecording::LinksRemoving(std::span<CLink* const> links) {
  std::vector<const CLink*> untouched;
  for (const CLink* link : links) {
    if (!linkAt_.contains(link)) untouched.push_back(link);
  }
  // One walk of the list for all of them: a node may take thousands along.
  const auto keys = KeysOfLinks(*doc_, untouched);
  for (const CLink* link : untouched) {
    linkAt_.emplace(link, links_.size());
    links_.push_back({link, keys.at(link), StateOf(*link)});
  }
  for (const CLink* link : links) {
    links_[linkAt_.at(link)].link = nullptr;
    linkAt_.erase(link);
  }
}

std::optional<DocumentEdit> EditRecording::Finish() {
  Detach();
  const CMapvineDoc& doc = *doc_;
  doc_ = nullptr;
  DocumentEdit edit;
  // The NodeEdit of a node still in the picture, `now` as it shows now.
  const auto changed = [&edit](TouchedNode& touched, NodeLook now) {
    // A node the edit added is made anew by a redo.
    std::unique_ptr<NodeIdentity> identity;
    std::string nameBefore;
    if (touched.before) {
      nameBefore = NameBefore(touched);
    } else {
      identity = std::make_unique<NodeIdentity>(IdentityOf(*touched.node));
    }
    edit.nodes_.push_back({std::move(nameBefore), std::string(ReportedName(*touched.node)),
                           std::move(touched.before), std::move(now), std::move(identity)});
  };
  // Nodes only hidden or shown go to edit.shown_ while nothing else
  // happened to nodes; at the first other change they become NodeEdits,
  // so that every node's change keeps its place in the order.
  std::vector<std::uint32_t> onlyShown;
  bool compact = true;
  const auto toNodeEdits = [&] {
    if (!std::exchange(compact, false)) return;
    edit.nodes_.reserve(nodes_.size());
    for (const std::uint32_t at : onlyShown) changed(nodes_[at], LookOf(*nodes_[at].node));
    edit.shown_.clear();
  };
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    // An edit may have touched a hundred thousand nodes, scattered over
    // memory, since it read them first: each is fetched again ahead.
    if (i + kNodesFetchedAhead < nodes_.size() && nodes_[i + kNodesFetchedAhead].node != nullptr) {
      FetchNode(*nodes_[i + kNodesFetchedAhead].node);
    }
    TouchedNode& touched = nodes_[i];
    if (touched.node == nullptr) {
      // It left; only what it was before the edit, if anything, counts.
      if (touched.before && touched.namedByIt) {
        toNodeEdits();
        edit.nodes_.push_back({NameBefore(touched), {}, std::move(touched.before), std::nullopt,
                               std::move(touched.identity)});
      }
      continue;
    }
    if (!doc.FoundByItsName(*touched.node)) continue;
    NodeLook now = LookOf(*touched.node);
    if (touched.before == now) continue;
    if (compact && touched.before) {
      // Whether only `hidden` differs, without copying either look.
      const bool hiddenNow = std::exchange(now.hidden, touched.before->hidden);
      const bool onlyHidden = touched.before == now;
      now.hidden = hiddenNow;
      if (onlyHidden) {
        edit.shown_.push_back({std::string(ReportedName(*touched.node)), now.hidden});
        onlyShown.push_back(static_cast<std::uint32_t>(i));
        continue;
      }
    }
    toNodeEdits();
    changed(touched, std::move(now));
  }

  std::vector<const CLink*> present;
  for (const TouchedLink& touched : links_) {
    if (touched.link != nullptr) present.push_back(touched.link);
  }
  const auto keysNow = KeysOfLinks(doc, present);
  for (TouchedLink& touched : links_) {
    LinkEdit change{touched.keyBefore, std::nullopt, std::move(touched.before), std::nullopt};
    if (touched.link != nullptr) {
      change.keyAfter = keysNow.at(touched.link);
      change.after = StateOf(*touched.link);
    }
    if (change.keyBefore == change.keyAfter && change.before == change.after) continue;
    edit.links_.push_back(std::move(change));
  }

  if (background_) {
    if (std::optional<BackgroundState> now = BackgroundOf(doc); now && !(*background_ == *now)) {
      edit.background_ = {std::move(*background_), std::move(*now)};
    }
  }
  if (doc.placement != placement_) edit.placement_ = {placement_, doc.placement};
  if (doc.arranged != arranged_) edit.arranged_ = {arranged_, doc.arranged};
  if (edit.nodes_.empty() && edit.shown_.empty() && edit.links_.empty() && !edit.background_ && !edit.placement_ &&
      !edit.arranged_) {
    return std::nullopt;
  }
  return edit;
}

}  // namespace mapvine
