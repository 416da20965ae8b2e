#include "model/EditRecording.h"

#include "model/LinkKeys.h"
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

EditRecording::TouchedNode* EditRecording::Touched(const CNode& node) {
  const auto found = nodeAt_.find(&node);
  return found == nodeAt_.end() ? nullptr : &nodes_[found->second];
}

void EditRecording::NodeChanging(const CNode& node) {
  if (Touched(node) != nullptr) return;
  const std::string_view name = ReportedName(node);
  nodeAt_.emplace(&node, nodes_.size());
  // Whether the name stands for this node is asked when the edit ends or
  // the node leaves, not for each of the thousands a command may touch.
  nodes_.push_back({&node, std::string(name), NodeState{LookOf(node), std::nullopt}, std::nullopt, true});
}

void EditRecording::NodeAdded(const CNode& node) {
  nodeAt_.insert_or_assign(&node, nodes_.size());
  nodes_.push_back({&node, std::string(ReportedName(node)), std::nullopt, std::nullopt, true});
}

void EditRecording::NodeRemoving(const CNode& node) {
  TouchedNode* touched = Touched(node);
  if (touched == nullptr) {
    NodeChanging(node);
    touched = &nodes_.back();
  }
  // Undoing the removal makes the node anew.
  if (touched->before && !touched->before->identity) touched->before->identity = WholeStateOf(node).identity;
  touched->namedByIt = doc_->FindNode(touched->name) == &node;
  touched->node = nullptr;
  nodeAt_.erase(&node);
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
  for (TouchedNode& touched : nodes_) {
    if (touched.node == nullptr) {
      // It left; only what it was before the edit, if anything, counts.
      if (touched.before && touched.namedByIt) {
        edit.nodes_.push_back({touched.name, {}, std::move(touched.before), std::nullopt});
      }
      continue;
    }
    const std::string_view name = ReportedName(*touched.node);
    if (!touched.namedByIt || doc.FindNode(name) != touched.node) continue;
    // A node the edit added is made anew by a redo.
    NodeState now = touched.before ? NodeState{LookOf(*touched.node), std::nullopt} : WholeStateOf(*touched.node);
    if (touched.before == now) continue;
    edit.nodes_.push_back({touched.name, std::string(name), std::move(touched.before), std::move(now)});
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
  if (edit.nodes_.empty() && edit.links_.empty() && !edit.background_ && !edit.placement_ && !edit.arranged_) {
    return std::nullopt;
  }
  return edit;
}

}  // namespace mapvine
