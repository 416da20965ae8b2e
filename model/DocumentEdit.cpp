#include "model/DocumentEdit.h"

#include <set>

#include "model/NodeIndex.h"

namespace mapvine {
namespace {

template <typename Detail>
std::optional<Detail> CopyOf(const std::unique_ptr<Detail>& detail) {
  return detail ? std::optional<Detail>(*detail) : std::nullopt;
}

template <typename Detail>
void Assign(std::unique_ptr<Detail>& kept, const std::optional<Detail>& wanted) {
  kept = wanted ? std::make_unique<Detail>(*wanted) : nullptr;
}

NodeState StateOf(const CSprite& node) {
  return {node.GetX(),        node.GetY(),          node.GetDepth(),
          node.label,         node.fqName,          node.hidden,
          node.status,        node.nodeType,        node.activeImage,
          node.inactiveImage, CopyOf(node.nodeDetail), CopyOf(node.directoryDetail)};
}

std::string EndName(const CSprite* end) { return end ? std::string(ReportedName(*end)) : std::string(); }

LinkState StateOf(const CLink& link) {
  return {link.ownerName, link.destinationName, link.title,          link.tgNumber,
          link.status,    CopyOf(link.tgDetail), EndName(link.endA), EndName(link.endB)};
}

// The entries of `a` that `b` does not hold alike, by key.
template <typename Map>
Map Differing(const Map& a, const Map& b) {
  Map kept;
  for (const auto& [key, value] : a) {
    const auto other = b.find(key);
    if (other == b.end() || !(other->second == value)) kept.emplace(key, value);
  }
  return kept;
}

template <typename Map>
std::set<typename Map::key_type> KeysOf(const Map& a, const Map& b) {
  std::set<typename Map::key_type> keys;
  for (const auto& entry : a) keys.insert(entry.first);
  for (const auto& entry : b) keys.insert(entry.first);
  return keys;
}

template <typename Map>
const typename Map::mapped_type* Lookup(const Map& map, const typename Map::key_type& key) {
  const auto found = map.find(key);
  return found == map.end() ? nullptr : &found->second;
}

// A node as `state` describes it; its icon follows its status.
void CreateNode(CMapvineDoc& doc, const NodeState& state) {
  auto made = std::make_unique<CSprite>();
  made->label = state.label;
  made->fqName = state.fqName;
  made->hidden = state.hidden;
  made->status = state.status;
  made->nodeType = state.nodeType;
  made->activeImage = state.activeImage;
  made->inactiveImage = state.inactiveImage;
  Assign(made->nodeDetail, state.nodeDetail);
  Assign(made->directoryDetail, state.directoryDetail);
  made->SetDepth(state.depth);
  CSprite& node = doc.InsertNode(std::move(made));
  doc.ApplyStatusImage(node);
  node.SetPosition(state.x, state.y);
}

// What differs between `from` and `to`, changed on `node`; whatever else
// the node now shows (a refresh's news) stays.
void ChangeNode(CMapvineDoc& doc, CSprite& node, const NodeState& from, const NodeState& to) {
  if (to.x != from.x || to.y != from.y) node.SetPosition(to.x, to.y);
  if (to.depth != from.depth) node.SetDepth(to.depth);
  if (to.label != from.label) doc.RenameNode(node, to.label);
  if (to.hidden != from.hidden) node.hidden = to.hidden;
  if (to.nodeDetail != from.nodeDetail) Assign(node.nodeDetail, to.nodeDetail);
  if (to.directoryDetail != from.directoryDetail) Assign(node.directoryDetail, to.directoryDetail);
  if (to.activeImage != from.activeImage || to.inactiveImage != from.inactiveImage) {
    doc.SetStandardIcon(node, to.activeImage, to.inactiveImage);
  }
  if (to.status != from.status) {
    node.status = to.status;
    doc.ApplyStatusImage(node);
  }
}

void CreateLink(CMapvineDoc& doc, const LinkState& state) {
  CSprite* a = doc.FindNode(state.endA);
  CSprite* b = doc.FindNode(state.endB);
  if (a == nullptr || b == nullptr) return;  // an end has gone since
  auto link = std::make_unique<CLink>();
  link->ownerName = state.ownerName;
  link->destinationName = state.destinationName;
  link->title = state.title;
  link->tgNumber = state.tgNumber;
  link->status = state.status;
  Assign(link->tgDetail, state.tgDetail);
  doc.AppendJoinedLink(std::move(link), *a, *b);
}

// The links of the document by key, numbering those that share a name.
std::map<LinkKey, CLink*> LinksByKey(const CMapvineDoc& doc) {
  std::map<LinkKey, CLink*> links;
  for (const auto& link : doc.Links()) {
    LinkKey key{link->ownerName, link->destinationName, link->tgNumber, 0};
    while (links.contains(key)) ++std::get<3>(key);
    links.emplace(std::move(key), link.get());
  }
  return links;
}

std::unique_ptr<CDIB> CopyOfImage(const CDIB& image) {
  auto copy = std::make_unique<CDIB>();
  const std::span<const std::uint8_t> header(image.HeaderBlock(), CDIB::kHeaderBlockSize);
  if (!copy->CopyPixels(header, image.Bits())) return nullptr;
  return copy;
}

}  // namespace

bool operator==(const BackgroundState& a, const BackgroundState& b) {
  const bool sameImage = a.image == b.image || (a.image && b.image && a.image->IsSameImage(*b.image));
  return sameImage && a.mode == b.mode && a.width == b.width && a.height == b.height;
}

DocumentSnapshot TakeSnapshot(const CMapvineDoc& doc, bool withBackground) {
  DocumentSnapshot snapshot;
  snapshot.nodes.reserve(doc.Nodes().size());
  for (const auto& node : doc.Nodes()) {
    // A name several nodes share stands for the first, as FindNode answers.
    snapshot.nodes.emplace(ReportedName(*node), StateOf(*node));
  }
  for (const auto& [key, link] : LinksByKey(doc)) snapshot.links.emplace(key, StateOf(*link));
  if (withBackground && !doc.images.empty() && doc.images[kBackgroundSlot] &&
      doc.images[kBackgroundSlot]->HasHeader()) {
    snapshot.background = BackgroundState{CopyOfImage(*doc.images[kBackgroundSlot]),
                                          doc.picture.backgroundMode, doc.picture.pictureWidth,
                                          doc.picture.pictureHeight};
  }
  return snapshot;
}

std::optional<DocumentEdit> DocumentEdit::Between(const DocumentSnapshot& before,
                                                  const DocumentSnapshot& after) {
  DocumentEdit edit;
  edit.before_.nodes = Differing(before.nodes, after.nodes);
  edit.after_.nodes = Differing(after.nodes, before.nodes);
  edit.before_.links = Differing(before.links, after.links);
  edit.after_.links = Differing(after.links, before.links);
  if (before.background && after.background && !(*before.background == *after.background)) {
    edit.before_.background = before.background;
    edit.after_.background = after.background;
  }
  if (edit.before_ == DocumentSnapshot{} && edit.after_ == DocumentSnapshot{}) return std::nullopt;
  return edit;
}

void DocumentEdit::Apply(CMapvineDoc& doc, const DocumentSnapshot& from, const DocumentSnapshot& to) {
  // The background first: a node's place is only kept on a canvas that
  // holds it.
  if (to.background && to.background->image) {
    doc.ComposeBackground(CopyOfImage(*to.background->image), to.background->mode,
                          to.background->width, to.background->height);
  }
  // Links that must go, before their nodes might take them along. Most
  // edits change no link, and finding links by key walks them all.
  const bool linksChange = !from.links.empty() || !to.links.empty();
  std::map<LinkKey, CLink*> links = linksChange ? LinksByKey(doc) : std::map<LinkKey, CLink*>{};
  for (const auto& [key, state] : from.links) {
    if (to.links.contains(key)) continue;
    if (CLink* link = links[key]) doc.DeleteLink(*link);
  }
  for (const std::string& name : KeysOf(from.nodes, to.nodes)) {
    const NodeState* was = Lookup(from.nodes, name);
    const NodeState* wanted = Lookup(to.nodes, name);
    CSprite* node = doc.FindNode(name);
    if (wanted == nullptr) {
      if (node != nullptr) doc.RemoveNode(*node);
    } else if (was == nullptr) {
      if (node == nullptr) CreateNode(doc, *wanted);
    } else if (node != nullptr) {
      ChangeNode(doc, *node, *was, *wanted);
    }
  }
  if (linksChange) links = LinksByKey(doc);
  for (const auto& [key, state] : to.links) {
    CLink* link = links[key];
    if (link == nullptr) {
      if (!from.links.contains(key)) CreateLink(doc, state);
    } else if (const LinkState* was = Lookup(from.links, key); was && was->status != state.status) {
      link->status = state.status;
    }
  }
  doc.SetModified(true);
  if (DocumentView* view = doc.View()) view->RedrawAll();
}

}  // namespace mapvine
