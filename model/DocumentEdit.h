#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/ChangeMark.h"
#include "graphics/NodeRecords.h"
#include "graphics/ResourceStatus.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// What change tracking knows of a node or link: an undo that brings one
// back brings it back with its mark, but it is no edit of its own
// (acknowledging a mark is not undone), so it never makes states differ.
struct TrackingState {
  ChangeMark mark = ChangeMark::None;
  bool stale = false;
  bool addedByHand = false;

  friend bool operator==(const TrackingState&, const TrackingState&) { return true; }
};

// How arranging and drawing treat a node: pinned, its LUs folded.
struct NodeLayout {
  bool pinned = false;
  bool lusFolded = false;

  friend bool operator==(const NodeLayout&, const NodeLayout&) = default;
};

// What a person can change about one node.
struct NodeState {
  int x = 0, y = 0, depth = 0;
  std::string label;
  std::string fqName;
  bool hidden = false;
  ResourceStatus status = ResourceStatus::Inactive;
  int nodeType = 0;
  int activeImage = 0;
  int inactiveImage = 0;
  std::optional<NodeRecordBytes> nodeRecord;
  std::optional<DirectoryRecordBytes> directoryRecord;
  TrackingState tracking;
  NodeLayout layout;

  friend bool operator==(const NodeState&, const NodeState&) = default;
};

// A link, with its ends named the way a refresh finds nodes.
struct LinkState {
  std::string ownerName;
  std::string destinationName;
  std::string title;
  int tgNumber = 0;
  ResourceStatus status = ResourceStatus::Inactive;
  std::optional<TgRecordBytes> tgRecord;
  std::string endA;
  std::string endB;
  TrackingState tracking;

  friend bool operator==(const LinkState&, const LinkState&) = default;
};

// The background as laid out: its image in its own colours, the layout and
// the requested size.
struct BackgroundState {
  std::shared_ptr<const CDIB> image;
  BackgroundArrangement mode = kArrangementChosenInView;
  int width = 0;
  int height = 0;

  friend bool operator==(const BackgroundState& a, const BackgroundState& b);
};

// Nodes by reported name; links by owner, destination, TG number and which
// of the links so named.
using LinkKey = std::tuple<std::string, std::string, int, int>;

// The picture's nodes, links and background by name, or one side of an
// edit: what it changed, before or after.
struct DocumentSnapshot {
  std::unordered_map<std::string, NodeState> nodes;
  std::map<LinkKey, LinkState> links;
  std::optional<BackgroundState> background;
  // Where the next node goes: adding or tiling moves it.
  std::optional<PlacementState> placement;
  // Whether the picture counts as arranged by its connections.
  std::optional<bool> arranged;

  friend bool operator==(const DocumentSnapshot&, const DocumentSnapshot&) = default;
};

// One edit a person made, as the nodes, links and background it changed,
// before and after, by name. Undo and Redo put the one or the other back on
// the document as it is now: a refresh since may have taken a node away or
// brought it back, so each change applies only where the document still
// shows the other side of it, and nothing refers to a node by address.
class DocumentEdit {
 public:
  void Undo(CMapvineDoc& doc) const { Apply(doc, after_, before_); }
  void Redo(CMapvineDoc& doc) const { Apply(doc, before_, after_); }

 private:
  friend class EditBaseline;
  static void Apply(CMapvineDoc& doc, const DocumentSnapshot& from, const DocumentSnapshot& to);

  DocumentSnapshot before_;  // only what differs
  DocumentSnapshot after_;
};

// Everything an edit may change, as the picture held it when the edit
// began: every node and link in list order, and the background only when
// asked, as copying it costs more than the rest for most pictures. Taking
// it only copies; on a large picture, keying every state by name costs far
// more than the edit. EditSince compares it with the picture in place and
// keys only what differs, or, for the nodes or the links, everything when
// their list no longer lines up (the edit added, removed or restacked one).
class EditBaseline {
 public:
  EditBaseline(const CMapvineDoc& doc, bool withBackground);
  // The nodes, links and background that differ now, before and after;
  // none when nothing does.
  std::optional<DocumentEdit> EditSince(const CMapvineDoc& doc) const;
  // Every state by name.
  DocumentSnapshot Keyed() const;

 private:
  bool NodesLineUp(const CMapvineDoc& doc, DocumentEdit& edit) const;
  bool LinksLineUp(const CMapvineDoc& doc, DocumentEdit& edit) const;

  std::vector<NodeState> nodes_;
  std::vector<LinkState> links_;
  std::optional<BackgroundState> background_;
  PlacementState placement_;
  bool arranged_ = false;
};

}  // namespace mapvine
