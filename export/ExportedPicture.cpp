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

// Copies the links whose both ends were written, joining them by the
// ends' numbers.
void CopyLinks(const OwningLinkList& links, const std::vector<const CNode*>& written, ExportedPicture& picture) {
  // Each written node's number and kind by its address, sorted for the
  // links to look their ends up: cheaper to build than a hash table of as
  // many entries, which allocates one for each, and the kind comes with
  // the number rather than from a node copy far away in memory.
  struct Numbered {
    const CNode* node;
    int number;
    int kind;
    bool operator<(const Numbered& other) const { return node < other.node; }
  };
  std::vector<Numbered> numbers;
  numbers.reserve(written.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    numbers.push_back({written[i], static_cast<int>(i), picture.nodes[i].nodeType});
  }
  std::sort(numbers.begin(), numbers.end());
  const auto numbered = [&numbers](const CNode* node) -> const Numbered* {
    const auto found = std::lower_bound(numbers.begin(), numbers.end(), Numbered{node, -1, 0});
    return found != numbers.end() && found->node == node ? &*found : nullptr;
  };
  picture.links.reserve(links.size());
  for (auto link = links.begin(); link != links.end(); ++link) {
    if (links.end() - link > static_cast<std::ptrdiff_t>(kFetchAhead)) FetchAhead(*link[kFetchAhead]);
    // A link whose end is missing (not rejoined after a load) is drawn
    // nowhere and joins nothing a reader could name.
    const CLink& line = **link;
    const Numbered* from = numbered(line.endA);
    const Numbered* to = numbered(line.endB);
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
