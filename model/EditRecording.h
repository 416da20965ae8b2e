#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/DocumentEdit.h"
#include "model/HashSlots.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// An edit being made: while it lives, the document tells it of each node
// and link just before it first changes, arrives or leaves, and it keeps
// how that one was. Finish compares those with how they are now, so an edit
// costs what it touched, not what the picture holds. The background is
// kept only when the edit says it may change it, as copying it costs more
// than most edits.
//
// One edit may touch nearly every node of a large picture (Show
// Neighbourhood hides all but a few of a hundred thousand), so what it
// keeps of a node is small: its look, which gives its name too, and what
// the network reported of it only once it leaves. Its nodes are found in a
// flat table rather than a node-based map.
class EditRecording {
 public:
  EditRecording(CMapvineDoc& doc, bool withBackground);
  ~EditRecording();
  EditRecording(const EditRecording&) = delete;
  EditRecording& operator=(const EditRecording&) = delete;

  // The document calls these (CMapvineDoc::NodeChanging and the like).
  void NodeChanging(const CNode& node);
  // About `count` more nodes are to change: room is made for them at once.
  void ExpectNodes(std::size_t count);
  void NodeAdded(const CNode& node);
  void NodeRemoving(const CNode& node);
  void LinkChanging(const CLink& link);
  void LinkAdded(const CLink& link);
  void LinksRemoving(std::span<CLink* const> links);

  // What differs now, before and after; none when nothing does. The
  // recording hears of nothing more.
  std::optional<DocumentEdit> Finish();

 private:
  struct TouchedNode {
    const CNode* node;  // null once it left the picture
    std::optional<NodeLook> before;  // none when the edit added it
    // What the network reported of it, kept when it leaves.
    std::unique_ptr<NodeIdentity> identity;
    // Whether its name stood for it when the edit first touched it: a
    // later holder of a shared name is not what the name stands for, and
    // an undo makes a node that left anew by that name.
    bool namedByIt = true;
  };
  // Where in nodes_ a node that is still in the picture is kept.
  struct NodeSlot {
    const CNode* node = nullptr;
    std::uint32_t touched = 0;
  };
  struct TouchedLink {
    const CLink* link;  // null once it left the picture
    std::optional<LinkKey> keyBefore;
    std::optional<LinkState> before;
  };
  TouchedNode* Touched(const CNode& node);
  // The entry of `node`, made with its name and nothing before when it has
  // none yet; `.second` is true when it is new.
  std::pair<TouchedNode*, bool> Entry(const CNode& node);
  // The name a refresh found a node by before the edit; only for a node
  // that was there.
  static std::string NameBefore(const TouchedNode& touched);
  void Detach();

  CMapvineDoc* doc_;
  std::vector<TouchedNode> nodes_;
  HashSlots<NodeSlot> nodeAt_;
  std::vector<TouchedLink> links_;
  std::unordered_map<const CLink*, std::size_t> linkAt_;
  std::optional<BackgroundState> background_;
  PlacementState placement_;
  bool arranged_;
};

}  // namespace mapvine
