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

NodeLayout LayoutOf(const CSprite& node) { return {node.pinned, node.lusFolded}; }

// Each layout flag that differs between `from` and `to` takes its `to` value.
void ChangeLayout(CSprite& node, const NodeLayout& from, const NodeLayout& to) {
  if (to.pinned != from.pinned) node.pinned = to.pinned;
  if (to.lusFolded != from.lusFolded) node.lusFolded = to.lusFolded;
}

NodeState StateOf(const CSprite& node) {
  return {node.GetX(),        node.GetY(),          node.GetDepth(),
          node.label,         node.fqName,          node.hidden,
          node.status,        node.nodeType,        node.activeImage,
          node.inactiveImage, CopyOf(node.nodeRecord), CopyOf(node.directoryRecord),
          {node.changeMark, node.stale, node.addedByHand}, LayoutOf(node)};
}

std::string EndName(const CSprite* end) { return end ? std::string(ReportedName(*end)) : std::string(); }

LinkState StateOf(const CLink& link) {
  return {link.ownerName, link.destinationName, link.title,          link.tgNumber,
          link.status,    CopyOf(link.tgRecord), EndName(link.endA), EndName(link.endB),
          {link.changeMark, link.stale, link.addedByHand}};
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
  Assign(made->nodeRecord, state.nodeRecord);
  Assign(made->directoryRecord, state.directoryRecord);
  made->changeMark = state.tracking.mark;
  made->stale = state.tracking.stale;
  made->addedByHand = state.tracking.addedByHand;
  ChangeLayout(*made, NodeLayout{}, state.layout);
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
  ChangeLayout(node, from.layout, to.layout);
  if (to.nodeRecord != from.nodeRecord) Assign(node.nodeRecord, to.nodeRecord);
  if (to.directoryRecord != from.directoryRecord) Assign(node.directoryRecord, to.directoryRecord);
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
  Assign(link->tgRecord, state.tgRecord);
  link->changeMark = state.tracking.mark;
  link->stale = state.tracking.stale;
  link->addedByHand = state.tracking.addedByHand;
  doc.AppendJoinedLink(std::move(link), *a, *b);
}

// Gives links their keys in list order, numbering those that share owner,
// destination and TG number.
class LinkKeys {
 public:
  LinkKey Next(const std::string& owner, const std::string& destination, int tgNumber) {
    int& met = met_[{owner, destination, tgNumber}];
    return {owner, destination, tgNumber, met++};
  }

 private:
  std::map<std::tuple<std::string, std::string, int>, int> met_;
};

// The links of the document by key.
std::map<LinkKey, CLink*> LinksByKey(const CMapvineDoc& doc) {
  std::map<LinkKey, CLink*> links;
  LinkKeys keys;
  for (const auto& link : doc.Links()) {
    links.emplace(keys.Next(link->ownerName, link->destinationName, link->tgNumber), link.get());
  }
  return links;
}

std::string_view NameOf(const NodeState& state) { return ReportedName(state.label, state.fqName); }

// A name several nodes share stands for the first, as FindNode answers.
std::unordered_map<std::string, NodeState> KeyedNodes(const std::vector<NodeState>& states) {
  std::unordered_map<std::string, NodeState> keyed;
  keyed.reserve(states.size());
  for (const NodeState& state : states) keyed.emplace(NameOf(state), state);
  return keyed;
}

std::map<LinkKey, LinkState> KeyedLinks(const std::vector<LinkState>& states) {
  std::map<LinkKey, LinkState> keyed;
  LinkKeys keys;
  for (const LinkState& state : states) {
    keyed.emplace(keys.Next(state.ownerName, state.destinationName, state.tgNumber), state);
  }
  return keyed;
}

bool SameKey(const LinkState& state, const CLink& link) {
  return state.tgNumber == link.tgNumber && state.ownerName == link.ownerName &&
         state.destinationName == link.destinationName;
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

std::optional<BackgroundState> BackgroundOf(const CMapvineDoc& doc) {
  if (doc.images.empty() || !doc.images[kBackgroundSlot] ||
      !doc.images[kBackgroundSlot]->HasHeader()) {
    return std::nullopt;
  }
  return BackgroundState{CopyOfImage(*doc.images[kBackgroundSlot]), doc.picture.backgroundMode,
                         doc.picture.pictureWidth, doc.picture.pictureHeight};
}

EditBaseline::EditBaseline(const CMapvineDoc& doc, bool withBackground) {
  nodes_.reserve(doc.Nodes().size());
  for (const auto& node : doc.Nodes()) nodes_.push_back(StateOf(*node));
  links_.reserve(doc.Links().size());
  for (const auto& link : doc.Links()) links_.push_back(StateOf(*link));
  if (withBackground) background_ = BackgroundOf(doc);
  placement_ = doc.placement;
  arranged_ = doc.arranged;
}

DocumentSnapshot EditBaseline::Keyed() const {
  return {KeyedNodes(nodes_), KeyedLinks(links_), background_, placement_, arranged_};
}

std::optional<DocumentEdit> EditBaseline::EditSince(const CMapvineDoc& doc) const {
  DocumentEdit edit;
  // The picture as it is now, copied only for a part that no longer lines up.
  std::optional<EditBaseline> now;
  if (!NodesLineUp(doc, edit)) {
    now.emplace(doc, false);
    const auto before = KeyedNodes(nodes_);
    const auto after = KeyedNodes(now->nodes_);
    edit.before_.nodes = Differing(before, after);
    edit.after_.nodes = Differing(after, before);
  }
  if (!LinksLineUp(doc, edit)) {
    if (!now) now.emplace(doc, false);
    const auto before = KeyedLinks(links_);
    const auto after = KeyedLinks(now->links_);
    edit.before_.links = Differing(before, after);
    edit.after_.links = Differing(after, before);
  }
  if (background_) {
    if (std::optional<BackgroundState> current = BackgroundOf(doc);
        current && !(*background_ == *current)) {
      edit.before_.background = background_;
      edit.after_.background = std::move(current);
    }
  }
  if (doc.placement != placement_) {
    edit.before_.placement = placement_;
    edit.after_.placement = doc.placement;
  }
  if (doc.arranged != arranged_) {
    edit.before_.arranged = arranged_;
    edit.after_.arranged = doc.arranged;
  }
  if (edit.before_ == DocumentSnapshot{} && edit.after_ == DocumentSnapshot{}) return std::nullopt;
  return edit;
}

// Nodes line up when the same names come in the same order; then each
// node is compared with its own former state.
bool EditBaseline::NodesLineUp(const CMapvineDoc& doc, DocumentEdit& edit) const {
  if (doc.Nodes().size() != nodes_.size()) return false;
  auto was = nodes_.begin();
  for (const auto& node : doc.Nodes()) {
    const NodeState& before = *was++;
    const std::string_view name = ReportedName(*node);
    if (name != NameOf(before)) return false;
    NodeState after = StateOf(*node);
    // A later holder of a shared name is not what the name stands for.
    if (after == before || doc.FindNode(name) != node.get()) continue;
    edit.before_.nodes.emplace(name, before);
    edit.after_.nodes.emplace(name, std::move(after));
  }
  return true;
}

// Links line up when the same keys come in the same order; they are keyed
// only when one of them changed.
bool EditBaseline::LinksLineUp(const CMapvineDoc& doc, DocumentEdit& edit) const {
  if (doc.Links().size() != links_.size()) return false;
  std::vector<std::size_t> changed;
  std::size_t index = 0;
  for (const auto& link : doc.Links()) {
    const LinkState& before = links_[index];
    if (!SameKey(before, *link)) return false;
    if (!(StateOf(*link) == before)) changed.push_back(index);
    ++index;
  }
  if (changed.empty()) return true;
  LinkKeys keys;
  auto next = changed.begin();
  index = 0;
  for (const auto& link : doc.Links()) {
    const LinkKey key = keys.Next(link->ownerName, link->destinationName, link->tgNumber);
    if (next != changed.end() && *next == index) {
      edit.before_.links.emplace(key, links_[index]);
      edit.after_.links.emplace(key, StateOf(*link));
      ++next;
    }
    ++index;
  }
  return true;
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
  if (to.placement) doc.placement = *to.placement;
  if (to.arranged) doc.arranged = *to.arranged;
  doc.SetModified(true);
  if (DocumentView* view = doc.View()) view->RedrawAll();
}

}  // namespace mapvine
