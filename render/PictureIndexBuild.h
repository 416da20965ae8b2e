#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "graphics/SpatialGrid.h"
#include "render/PictureIndex.h"

namespace mapvine {

// The picture index reading the document's lists whole, a part at a time.
struct PictureIndex::Build {
  enum class Stage { Nodes, FileNodes, Links, FileLines, Looks, Done };

  // The lists at these versions on this canvas: a build that finds them
  // changed starts again.
  std::uint64_t nodeOrder = 0;
  std::uint64_t linkVersion = 0;
  int width = 0;
  int height = 0;
  // The same nodes in the same order as before: they are refiled where
  // they moved rather than read anew.
  bool sameNodes = false;

  Stage stage = Stage::Nodes;
  std::size_t next = 0;  // the next node refiled
  decltype(std::declval<const CSpriteList&>().begin()) nextNode;
  decltype(std::declval<const OwningLinkList&>().begin()) nextLink;
  int looksStage = 0;
  std::vector<Rect> areas;  // the nodes' areas, until they are filed
  std::optional<SpatialGrid::Filing> filing;
};

}  // namespace mapvine
