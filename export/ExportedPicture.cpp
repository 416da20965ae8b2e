#include "export/ExportedPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <utility>
#include <vector>

#include "export/IndexedImage.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

ExportedNode CopyOf(const CNode& node, bool includeHidden) {
  ExportedNode copy{.fqName = node.fqName,
                    .label = node.label,
                    .nodeType = node.nodeType,
                    .status = node.status,
                    .hidden = node.hidden,
                    .icon = node.GetRect(),
                    .centre = node.GetCenter(),
                    .labelArea = node.LabelArea(),
                    .labelOrigin = node.LabelOrigin(),
                    .image = -1,
                    // With the hidden nodes written, the folded LUs are
                    // there themselves.
                    .foldedLus = includeHidden ? 0 : FoldedLuCount(node),
                    .foldBox = {},
                    .foldArea = {},
                    .foldCountOrigin = {}};
  if (copy.foldedLus > 0) {
    copy.foldBox = FoldMarkBox(node);
    copy.foldArea = FoldMarkArea(node);
    copy.foldCountOrigin = FoldCountOrigin(node);
  }
  return copy;
}

// How many nodes or links ahead the copy asks the memory for them: each
// lies in an allocation of its own, and waiting for them one at a time
// was most of what the copy cost the GUI thread.
constexpr std::size_t kFetchAhead = 8;

template <typename Item>
void FetchAhead(const Item& item) {
  constexpr std::size_t kLine = 64;
  const char* const bytes = reinterpret_cast<const char*>(&item);
  for (std::size_t offset = 0; offset < sizeof(Item); offset += kLine) __builtin_prefetch(bytes + offset);
}

// What a link stands for, from the kinds of the two nodes it joins.
LinkKind KindOf(const CLink& link, int kindA, int kindB) {
  if (link.tgNumber != 0) return LinkKind::Tg;
  if (link.addedByHand) return LinkKind::Manual;
  // A refresh joins an end node or LU to its owner without a TG number.
  const auto owned = [](int kind) { return kind == LogicalUnit || kind == EndNode; };
  return owned(kindA) || owned(kindB) ? LinkKind::Owner : LinkKind::Manual;
}

// Copies the nodes a reader is shown (all of them with `includeHidden`) in
// the list's order, each with its icon's number, and notes each one's
// document node in `written`. True when some shown node folds its LUs.
bool CopyNodes(const CSpriteList& listed, bool includeHidden, ExportedPicture& picture,
               std::vector<const CNode*>& written) {
  written.reserve(listed.size());
  picture.nodes.reserve(listed.size());
  // Nodes show the storage of the document's images: the storage tells
  // which of them look alike, so each distinct icon is converted once.
  std::unordered_map<const std::uint8_t*, int> imageOfStorage;
  bool someOwnerFolds = false;
  // The list is walked a few nodes ahead of the copy, so that the copy of
  // one node goes on while the next ones are on their way from memory.
  auto ahead = listed.begin();
  for (std::size_t i = 0; i < kFetchAhead && ahead != listed.end(); ++i, ++ahead) FetchAhead(**ahead);
  for (const auto& listedNode : listed) {
    if (ahead != listed.end()) FetchAhead(**ahead++);
    const CNode& node = *listedNode;
    if (node.hidden && !includeHidden) continue;
    someOwnerFolds = someOwnerFolds || node.lusFolded;
    written.push_back(&node);
    picture.nodes.push_back(CopyOf(node, includeHidden));
    if (!node.HasHeader()) continue;
    const auto [found, added] = imageOfStorage.try_emplace(node.HeaderBlock(), -1);
    if (added) {
      QImage icon = ToArgbImage(node, node.transparentIndex);
      if (!icon.isNull()) found->second = picture.images.AddIcon(std::move(icon));
    }
    picture.nodes.back().image = found->second;
  }
  return someOwnerFolds;
}

// LUs folded into their owner are not shown, the owner's mark is.
void DropFoldedLus(ExportedPicture& picture, std::vector<const CNode*>& written) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (FoldedAway(*written[i])) continue;
    written[kept] = written[i];
    picture.nodes[kept++] = std::move(picture.nodes[i]);
  }
  written.resize(kept);
  picture.nodes.resize(kept);
}

// The written nodes' numbers and kinds by their addresses, for the links
// to look their ends up: open addressing in one allocation of at least
// twice as many slots as nodes, so that an end is mostly found at its
// first slot, and that slot can be fetched ahead like the links.
class NodeNumbers {
 public:
  struct Slot {
    const CNode* node = nullptr;
    int number = -1;
    int kind = 0;
  };

  NodeNumbers(const std::vector<const CNode*>& written, const std::vector<ExportedNode>& nodes) {
    std::size_t capacity = 16;
    while (capacity < 2 * written.size()) capacity *= 2;
    slots_.resize(capacity);
    for (std::uint64_t c = capacity; c > 1; c >>= 1) --shift_;
    for (std::size_t i = 0; i < written.size(); ++i) {
      std::size_t at = Home(written[i]);
      while (slots_[at].node != nullptr) at = (at + 1) & (capacity - 1);
      slots_[at] = {written[i], static_cast<int>(i), nodes[i].nodeType};
    }
  }

  // None for a node that was not written.
  const Slot* Find(const CNode* node) const {
    for (std::size_t at = Home(node);; at = (at + 1) & (slots_.size() - 1)) {
      if (slots_[at].node == nullptr) return nullptr;
      if (slots_[at].node == node) return &slots_[at];
    }
  }
  void FetchAhead(const CNode* node) const { __builtin_prefetch(&slots_[Home(node)]); }

 private:
  std::size_t Home(const CNode* node) const {
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(node) * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  std::vector<Slot> slots_;
  int shift_ = 64;
};

// Copies the links whose both ends were written, joining them by the
// ends' numbers. Each link is fetched well ahead, and its ends' slots a
// little ahead once the link is there.
void CopyLinks(const OwningLinkList& links, const std::vector<const CNode*>& written, ExportedPicture& picture) {
  const NodeNumbers numbers(written, picture.nodes);
  constexpr std::ptrdiff_t kLinksAhead = 2 * kFetchAhead;
  constexpr std::ptrdiff_t kEndsAhead = kFetchAhead / 2;
  picture.links.reserve(links.size());
  for (auto link = links.begin(); link != links.end(); ++link) {
    const std::ptrdiff_t left = links.end() - link;
    if (left > kLinksAhead) FetchAhead(*link[kLinksAhead]);
    if (left > kEndsAhead) {
      numbers.FetchAhead(link[kEndsAhead]->endA);
      numbers.FetchAhead(link[kEndsAhead]->endB);
    }
    // A link whose end is missing (not rejoined after a load) is drawn
    // nowhere and joins nothing a reader could name.
    const CLink& line = **link;
    const NodeNumbers::Slot* from = numbers.Find(line.endA);
    const NodeNumbers::Slot* to = numbers.Find(line.endB);
    if (from == nullptr || to == nullptr) continue;
    picture.links.push_back({.from = from->number,
                             .to = to->number,
                             .tgNumber = line.tgNumber,
                             .status = line.status,
                             .kind = KindOf(line, from->kind, to->kind),
                             .start = {line.x1, line.y1},
                             .end = {line.x2, line.y2}});
  }
}

}  // namespace

ExportedPicture CollectPicture(const CMapvineDoc& doc, bool includeHidden) {
  ExportedPicture picture;
  picture.width = doc.picture.composedWidth;
  picture.height = doc.picture.composedHeight;
  picture.includeHidden = includeHidden;
  picture.images.TakeBackground(doc, picture.width, picture.height);
  std::vector<const CNode*> written;
  const bool someOwnerFolds = CopyNodes(doc.Nodes(), includeHidden, picture, written);
  // Only where some shown owner folds its LUs is each LU's owner looked
  // up: that is a walk over the LU's links to nodes far away in memory.
  if (someOwnerFolds && !includeHidden) DropFoldedLus(picture, written);
  CopyLinks(doc.Links(), written, picture);
  return picture;
}

std::string_view NodeKindName(int nodeType) {
  switch (nodeType) {
    case NetworkNode:
      return "network-node";
    case EndNode:
      return "end-node";
    case LogicalUnit:
      return "logical-unit";
    case ConnectionNetwork:
      return "connection-network";
    default:
      return "unknown";
  }
}

std::string_view StatusName(ResourceStatus status) { return IsActive(status) ? "active" : "inactive"; }

std::string_view LinkKindName(LinkKind kind) {
  switch (kind) {
    case LinkKind::Tg:
      return "tg";
    case LinkKind::Owner:
      return "owner";
    case LinkKind::Manual:
      return "manual";
  }
  return "manual";
}

LinkStroke StrokeOf(const ExportedLink& link) {
  const double dx = double(link.end.x) - link.start.x;
  const double dy = double(link.end.y) - link.start.y;
  const bool mostlyHorizontal = std::abs(dx) >= std::abs(dy);
  // Pixel (x, y) covers [x, x + 1) along the main direction; across it the
  // two pixels meet at the link's own coordinate. Where the line passes
  // exactly between two pixels the picture takes the one further along its
  // way from the first end: a nudge that way makes a renderer that fills
  // the pixels whose centres lie inside the stroke choose the same.
  constexpr double kTowardsTheEnd = 1.0 / 64;
  const auto sign = [](double v) { return double((v > 0) - (v < 0)); };
  const QPointF shift = mostlyHorizontal ? QPointF(0.5, kTowardsTheEnd * sign(dy))
                                         : QPointF(kTowardsTheEnd * sign(dx), 0.5);
  const double length = std::hypot(dx, dy);
  return {QPointF(link.start.x, link.start.y) + shift, QPointF(link.end.x, link.end.y) + shift,
          length > 0 ? 2 * std::max(std::abs(dx), std::abs(dy)) / length : 2.0};
}

}  // namespace mapvine
