#pragma once

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/CDIB.h"
#include "model/ChangeMark.h"
#include "model/NodeRecords.h"
#include "model/ResourceStatus.h"
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

// What a person can change of a node that stays in the picture: where and
// how it shows, and what it is called.
struct NodeLook {
  int x = 0, y = 0, depth = 0;
  bool hidden = false;
  bool pinned = false;
  bool lusFolded = false;
  ResourceStatus status = ResourceStatus::Inactive;
  int activeImage = 0;
  int inactiveImage = 0;
  std::string label;

  friend bool operator==(const NodeLook&, const NodeLook&) = default;
};

// What only a node's arrival or departure changes: what the network
// reported of it.
struct NodeIdentity {
  std::string fqName;
  int nodeType = 0;
  std::optional<NodeRecordBytes> nodeRecord;
  std::optional<DirectoryRecordBytes> directoryRecord;
  TrackingState tracking;

  friend bool operator==(const NodeIdentity&, const NodeIdentity&) = default;
};

// A node on one side of an edit. The identity is kept only where the edit
// adds or removes the node, to make it anew.
struct NodeState {
  NodeLook look;
  std::optional<NodeIdentity> identity;

  friend bool operator==(const NodeState&, const NodeState&) = default;
};

NodeLook LookOf(const CNode& node);
NodeIdentity IdentityOf(const CNode& node);
NodeState WholeStateOf(const CNode& node);

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

LinkState StateOf(const CLink& link);

// The background as laid out: its image in its own colours, the layout and
// the requested size.
struct BackgroundState {
  std::shared_ptr<const CDIB> image;
  BackgroundArrangement mode = kArrangementChosenInView;
  int width = 0;
  int height = 0;

  friend bool operator==(const BackgroundState& a, const BackgroundState& b);
};

// None when the document has no background image to keep.
std::optional<BackgroundState> BackgroundOf(const CMapvineDoc& doc);

// Links by owner, destination, TG number and which of the links so named,
// counted in list order.
using LinkKey = std::tuple<std::string, std::string, int, int>;

// One thing an edit changed, as it was before and after.
template <typename State>
struct Change {
  State before;
  State after;
};

// A node an edit added (no look before), removed (none after) or changed,
// by the name a refresh finds it by on each side. What the network reported
// of it is kept only where the edit added or removed it, to make it anew.
struct NodeEdit {
  std::string nameBefore;
  std::string nameAfter;
  std::optional<NodeLook> before;
  std::optional<NodeLook> after;
  std::unique_ptr<const NodeIdentity> identity;
};

// A node an edit only hid or showed, by the name a refresh finds it by
// (the same before and after). Hiding all but a neighbourhood does that to
// nearly every node of a large picture: a NodeEdit for each would take
// several times the room, and the time to fill it.
struct ShownEdit {
  std::string name;
  bool hiddenAfter = false;
};

struct LinkEdit {
  std::optional<LinkKey> keyBefore;
  std::optional<LinkKey> keyAfter;
  std::optional<LinkState> before;
  std::optional<LinkState> after;
};

// One edit a person made, as the nodes, links, background, placement and
// arranged mark it changed, before and after, by name. Undo and Redo put
// the one or the other side back on the document as it is now: a refresh
// since may have taken a node away or brought it back, so each change
// applies only where the document still shows the other side of it, and
// nothing refers to a node by address.
class DocumentEdit {
 public:
  void Undo(CMapvineDoc& doc) const;
  void Redo(CMapvineDoc& doc) const;

 private:
  friend class EditRecording;
  enum class Direction { Back, Forth };
  void Apply(CMapvineDoc& doc, Direction direction) const;

  // In the order the edit first touched them. An edit that did nothing to
  // nodes but hide or show them keeps them in shown_ instead.
  std::vector<NodeEdit> nodes_;
  std::vector<ShownEdit> shown_;
  std::vector<LinkEdit> links_;
  std::optional<Change<BackgroundState>> background_;
  std::optional<Change<PlacementState>> placement_;
  std::optional<Change<bool>> arranged_;
};

}  // namespace mapvine
