#include "render/PictureIndexBuild.h"

#include <algorithm>
#include <span>

#include "render/PictureIndexFiling.h"

namespace mapvine {

namespace {

// The build looks at the clock after about this many items, a few
// milliseconds' work.
constexpr std::size_t kItemsBetweenClockLooks = 2048;

}  // namespace

PictureIndex::PictureIndex(const CMapvineDoc& doc, std::size_t itemsReadAtOnce)
    : doc_(doc), itemsReadAtOnce_(itemsReadAtOnce) {}
PictureIndex::~PictureIndex() = default;

bool PictureIndex::StartBuild() {
  const bool sameCanvas =
      nodeGrid_ && width_ == doc_.picture.composedWidth && height_ == doc_.picture.composedHeight;
  width_ = doc_.picture.composedWidth;
  height_ = doc_.picture.composedHeight;
  const bool sameNodes = sameCanvas && TakeNewOrder();
  const bool sameLinks = sameCanvas && doc_.Links().Version() == linkVersion_;
  if (sameNodes && sameLinks) return false;
  // Everything is read: nothing changed needs reading afterwards.
  ClearChanged();
  build_ = std::make_unique<Build>();
  Build& build = *build_;
  build.nodeOrder = doc_.Nodes().OrderVersion();
  build.linkVersion = doc_.Links().Version();
  build.width = width_;
  build.height = height_;
  build.sameNodes = sameNodes;
  build.nextNode = doc_.Nodes().begin();
  build.nextLink = doc_.Links().begin();
  if (!sameNodes) {
    nodes_.clear();
    nodeRects_.clear();
    nodeOrder_ = build.nodeOrder;
    nodes_.reserve(doc_.Nodes().size());
    nodeRects_.reserve(doc_.Nodes().size());
    build.areas.reserve(doc_.Nodes().size());
  }
  links_.clear();
  lines_.clear();
  linkVersion_ = build.linkVersion;
  links_.reserve(doc_.Links().size());
  lines_.reserve(doc_.Links().size());
  return true;
}

bool PictureIndex::BuildStillValid() const {
  return doc_.Nodes().OrderVersion() == build_->nodeOrder && doc_.Links().Version() == build_->linkVersion &&
         doc_.picture.composedWidth == build_->width && doc_.picture.composedHeight == build_->height;
}

void PictureIndex::Forget() {
  build_.reset();
  nodeGrid_.reset();
  linkGrid_.reset();
  nodes_.clear();
  nodeRects_.clear();
  links_.clear();
  lines_.clear();
  changed_.whole = true;
}

bool PictureIndex::ChangedDuringBuild() {
  if (!build_) return false;
  changed_.whole = true;
  return true;
}

bool PictureIndex::ContinueBuild(Clock::time_point deadline) {
  using Stage = Build::Stage;
  Build& build = *build_;
  while (build.stage != Stage::Done) {
    switch (build.stage) {
      case Stage::Nodes:
        ReadNodes(build, kItemsBetweenClockLooks);
        break;
      case Stage::Links:
        ReadLinks(build, kItemsBetweenClockLooks);
        break;
      case Stage::FileNodes:
      case Stage::FileLines:
        FileAll(build, kItemsBetweenClockLooks);
        break;
      case Stage::Looks:
        looks_.TakeStage(build.looksStage++, nodes_, nodeRects_, links_, build.sameNodes);
        if (build.looksStage == ItemLooks::kTakeStages) build.stage = Stage::Done;
        break;
      case Stage::Done:
        break;
    }
    if (build.stage != Stage::Done && Clock::now() >= deadline) return false;
  }
  return true;
}

void PictureIndex::ReadNodes(Build& build, std::size_t items) {
  if (build.sameNodes) {
    const std::size_t last = std::min(nodes_.size(), build.next + items);
    for (; build.next < last; ++build.next) RefileNode(static_cast<int>(build.next));
    if (build.next == nodes_.size()) build.stage = Build::Stage::Links;
    return;
  }
  const auto end = doc_.Nodes().end();
  for (; items > 0 && build.nextNode != end; --items, ++build.nextNode) {
    CNode* node = build.nextNode->get();
    nodeRects_.push_back(node->GetRect());
    build.areas.push_back(picture_index::AreaOf(nodeRects_.back()));
    nodes_.push_back(node);
  }
  if (build.nextNode != end) return;
  nodeGrid_.emplace(width_, height_, picture_index::kCellSize);
  build.filing.emplace(*nodeGrid_, std::span<const Rect>(build.areas));
  build.stage = Build::Stage::FileNodes;
}

void PictureIndex::ReadLinks(Build& build, std::size_t items) {
  const auto end = doc_.Links().end();
  for (; items > 0 && build.nextLink != end; --items, ++build.nextLink) {
    lines_.push_back(picture_index::LineOf(**build.nextLink));
    links_.push_back(build.nextLink->get());
  }
  if (build.nextLink != end) return;
  linkGrid_.emplace(width_, height_, picture_index::kCellSize);
  build.filing.emplace(*linkGrid_, std::span<const SpatialGrid::Line>(lines_));
  build.stage = Build::Stage::FileLines;
}

void PictureIndex::FileAll(Build& build, std::size_t items) {
  if (!build.filing->Continue(items)) return;
  build.filing.reset();
  if (build.stage == Build::Stage::FileNodes) {
    build.areas = {};
    build.stage = Build::Stage::Links;
  } else {
    build.stage = Build::Stage::Looks;
  }
}

}  // namespace mapvine
