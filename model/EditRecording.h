#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/DocumentEdit.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// An edit being made: while it lives, the document tells it of each node
// and link just before it first changes, arrives or leaves, and it keeps
// how that one was. Finish compares those with how they are now, so an edit
// costs what it touched, not what the picture holds. The background is
// kept only when the edit says it may change it, as copying it costs more
// than most edits.
class EditRecording {
 public:
  EditRecording(CMapvineDoc& doc, bool withBackground);
  ~EditRecording();
  EditRecording(const EditRecording&) = delete;
  EditRecording& operator=(const EditRecording&) = delete;

  // The document calls these (CMapvineDoc::NodeChanging and the like).
  void NodeChanging(const CNode& node);
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
    std::string name;     // as a refresh finds it, before the edit
    std::optional<NodeState> before;
    std::optional<NodeState> after;  // set when it left
    // A later holder of a shared name is not what the name stands for.
    bool namedByIt = true;
  };
  struct TouchedLink {
    const CLink* link;  // null once it left the picture
    std::optional<LinkKey> keyBefore;
    std::optional<LinkState> before;
  };
  TouchedNode* Touched(const CNode& node);
  void Detach();

  CMapvineDoc* doc_;
  std::vector<TouchedNode> nodes_;
  std::unordered_map<const CNode*, std::size_t> nodeAt_;
  std::vector<TouchedLink> links_;
  std::unordered_map<const CLink*, std::size_t> linkAt_;
  std::optional<BackgroundState> background_;
  PlacementState placement_;
  bool arranged_;
};

}  // namespace mapvine
