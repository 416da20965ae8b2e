#include "model/DocumentEdit.h"


#include "model/LinkKeys.h"
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

std::string EndName(const CNode* end) { return end ? std::string(ReportedName(*end)) : std::string(); }

// A node as `look` and `identity` describe it; its icon follows its status.
void CreateNode(CMapvineDoc& doc, const NodeLook& look, const NodeIdentity& identity) {
  auto made = std::make_unique<CNode>();
  made->label = look.label;
  made->fqName = identity.fqName;
  made->hidden = look.hidden;
  made->pinned = look.pinned;
  made->lusFolded = look.lusFolded;
  made->status = look.status;
  made->nodeType = identity.nodeType;
  made->activeImage = look.activeImage;
  made->inactiveImage = look.inactiveImage;
  Assign(made->nodeRecord, identity.nodeRecord);
  Assign(made->directoryRecord, identity.directoryRecord);
  made->changeMark = identity.tracking.mark;
  made->stale = identity.tracking.stale;
  made->addedByHand = identity.tracking.addedByHand;
  made->SetDepth(look.depth);
  CNode& node = doc.InsertNode(std::move(made));
  doc.ApplyStatusImage(node);
  node.SetPosition(look.x, look.y);
}

// What differs between `from` and `to`, changed on `node`; whatever else
// the node now shows (a refresh's news) stays. A move, a new depth or a new
// image tells the view itself; answers whether the node was hidden or
// shown or folded or unfolded its LUs, which the caller tells.
bool ChangeNode(CMapvineDoc& doc, CNode& node, const NodeLook& from, const NodeLook& to) {
  if (to.x != from.x || to.y != from.y) node.SetPosition(to.x, to.y);
  if (to.depth != from.depth) node.SetDepth(to.depth);
  if (to.label != from.label) {
    doc.RenameNode(node, to.label);
    doc.PictureChanged(node.LabelArea());
  }
  if (to.hidden != from.hidden) node.hidden = to.hidden;
  if (to.pinned != from.pinned) node.pinned = to.pinned;
  if (to.lusFolded != from.lusFolded) node.lusFolded = to.lusFolded;
  if (to.activeImage != from.activeImage || to.inactiveImage != from.inactiveImage) {
    doc.SetStandardIcon(node, to.activeImage, to.inactiveImage);
  }
  if (to.status != from.status) {
    node.status = to.status;
    doc.ApplyStatusImage(node);
  }
  return to.hidden != from.hidden || to.lusFolded != from.lusFolded;
}

void CreateLink(CMapvineDoc& doc, const LinkState& state) {
  CNode* a = doc.FindNode(state.endA);
  CNode* b = doc.FindNode(state.endB);
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

std::unique_ptr<CDIB> CopyOfImage(const CDIB& image) {
  auto copy = std::make_unique<CDIB>();
  const std::span<const std::uint8_t> header(image.HeaderBlock(), CDIB::kHeaderBlockSize);
  if (!copy->CopyPixels(header, image.Bits())) return nullptr;
  return copy;
}

// The side of a change an undo (back) or a redo (forth) puts in place.
template <typename T>
const T& To(const Change<T>& change, bool forth) { return forth ? change.after : change.before; }

// Every element of `edits`, the last first when going back, so that an
// undo takes the steps of the edit back in reverse.
template <typename Edits, typename Visit>
void InOrder(const Edits& edits, bool forth, Visit visit) {
  if (forth) {
    for (const auto& edit : edits) visit(edit);
  } else {
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) visit(*edit);
  }
}

}  // namespace

NodeLook LookOf(const CNode& node) {
  return {node.GetX(),  node.GetY(),        node.GetDepth(),      node.hidden,
          node.pinned,  node.lusFolded,     node.status,          node.activeImage,
          node.inactiveImage, node.label};
}

NodeIdentity IdentityOf(const CNode& node) {
  return {node.fqName, node.nodeType, CopyOf(node.nodeRecord), CopyOf(node.directoryRecord),
          {node.changeMark, node.stale, node.addedByHand}};
}

NodeState WholeStateOf(const CNode& node) { return {LookOf(node), IdentityOf(node)}; }

LinkState StateOf(const CLink& link) {
  return {link.ownerName, link.destinationName, link.title,          link.tgNumber,
          link.status,    CopyOf(link.tgRecord), EndName(link.endA), EndName(link.endB),
          {link.changeMark, link.stale, link.addedByHand}};
}

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

void DocumentEdit::Undo(CMapvineDoc& doc) const { Apply(doc, Direction::Back); }
void DocumentEdit::Redo(CMapvineDoc& doc) const { Apply(doc, Direction::Forth); }

void DocumentEdit::Apply(CMapvineDoc& doc, Direction direction) const {
  const bool forth = direction == Direction::Forth;
  // What the view hears at the end: nodes or links that came or went, or a
  // new background, change the picture all over; otherwise each change
  // told it where, and the nodes hidden or shown are told all at once.
  bool wholePicture = background_.has_value();
  std::vector<const CNode*> shownChanged;
  shownChanged.reserve(nodes_.size() + shown_.size());
  // The background first: a node's place is only kept on a canvas that
  // holds it.
  if (background_) {
    const BackgroundState& wanted = To(*background_, forth);
    if (wanted.image) doc.ComposeBackground(CopyOfImage(*wanted.image), wanted.mode, wanted.width, wanted.height);
  }
  // Links that must go, before their nodes might take them along.
  std::vector<LinkKey> keys;
  for (const LinkEdit& edit : links_) {
    for (const auto& key : {edit.keyBefore, edit.keyAfter}) {
      if (key) keys.push_back(*key);
    }
  }
  const auto keyFrom = [forth](const LinkEdit& edit) { return forth ? edit.keyBefore : edit.keyAfter; };
  const auto keyTo = [forth](const LinkEdit& edit) { return forth ? edit.keyAfter : edit.keyBefore; };
  std::map<LinkKey, CLink*> links = LinksWithKeys(doc, keys);
  InOrder(links_, forth, [&](const LinkEdit& edit) {
    if (keyTo(edit) || !keyFrom(edit)) return;
    if (const auto found = links.find(*keyFrom(edit)); found != links.end()) {
      doc.DeleteLink(*found->second);
      links.erase(found);
      wholePicture = true;
    }
  });
  InOrder(nodes_, forth, [&](const NodeEdit& edit) {
    const std::optional<NodeLook>& was = forth ? edit.before : edit.after;
    const std::optional<NodeLook>& wanted = forth ? edit.after : edit.before;
    // The name the node goes by now, or will go by once made.
    const bool onBeforeSide = was ? forth : !forth;
    CNode* node = doc.FindNode(onBeforeSide ? edit.nameBefore : edit.nameAfter);
    if (!wanted) {
      if (node != nullptr) doc.RemoveNode(*node);
      wholePicture = true;
    } else if (!was) {
      if (node == nullptr) CreateNode(doc, *wanted, *edit.identity);
      wholePicture = true;
    } else if (node != nullptr && ChangeNode(doc, *node, *was, *wanted)) {
      shownChanged.push_back(node);
    }
  });
  InOrder(shown_, forth, [&](const ShownEdit& edit) {
    if (CNode* node = doc.FindNode(edit.name)) {
      node->hidden = forth ? edit.hiddenAfter : !edit.hiddenAfter;
      shownChanged.push_back(node);
    }
  });
  // Removed nodes took their links along.
  if (!links_.empty()) links = LinksWithKeys(doc, keys);
  InOrder(links_, forth, [&](const LinkEdit& edit) {
    const std::optional<LinkState>& was = forth ? edit.before : edit.after;
    const std::optional<LinkState>& wanted = forth ? edit.after : edit.before;
    if (!wanted) return;
    const auto found = links.find(*keyTo(edit));
    if (found == links.end()) {
      if (!was) CreateLink(doc, *wanted);
      wholePicture = true;
    } else if (was && was->status != wanted->status) {
      found->second->status = wanted->status;
      doc.PictureChanged(found->second->bounds);
    }
  });
  if (placement_) doc.placement = To(*placement_, forth);
  if (arranged_) doc.arranged = To(*arranged_, forth);
  doc.SetModified(true);
  if (wholePicture) {
    doc.PictureChanged();
  } else {
    doc.NodesShownChanged(shownChanged);
  }
}

}  // namespace mapvine
