#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/CLinkList.h"
#include "graphics/CSprite.h"
#include "model/ChangeMark.h"
#include "model/NodeRecords.h"
#include "model/ResourceStatus.h"

namespace mapvine {

// A node of the topology: the sprite that shows it, the records its last
// report brought, its status, the links ending at it and what the refreshes
// found changed about it.
class CNode final : public CSprite {
 public:
  // Moves the sprite, and the ends of the links at the node with it.
  void SetPosition(int x, int y) override;
  // Shows `image`'s storage (shared, not copied). Non-zero slots are stored
  // in activeImage / inactiveImage.
  void SetImage(const CDIB& image, int activeSlot, int inactiveSlot);
  using CSprite::SetImage;

  std::string fqName;
  // Arranging leaves a pinned node where the person put it.
  bool pinned = false;
  // Its LUs are drawn as one mark with their count (model/LuFold.h).
  bool lusFolded = false;
  CLinkList links;  // links ending here; not owned
  int activeImage = 0;
  int inactiveImage = 0;
  int imageIndex = 0;
  std::unique_ptr<NodeRecordBytes> nodeRecord;
  std::unique_ptr<DirectoryRecordBytes> directoryRecord;
  int nodeType = 0;
  ResourceStatus status = ResourceStatus::Active;
  // Change tracking: the refresh generation that last reported the node,
  // whether the last refresh that could tell found it missing (it keeps its
  // last status), and the unacknowledged change. A node a person added is
  // not missed until some refresh has reported it. None of it is saved.
  int reportedGeneration = 0;
  bool stale = false;
  bool addedByHand = false;
  ChangeMark changeMark = ChangeMark::None;
};

}  // namespace mapvine
