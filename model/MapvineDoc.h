#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "model/CLinkList.h"
#include "model/CNode.h"
#include "model/CSpriteList.h"
#include "graphics/ComposedBackground.h"
#include "model/NodeRecords.h"
#include "model/DocumentListener.h"
#include "model/DocumentView.h"
#include "model/FoundAgain.h"
#include "model/LinkIndex.h"
#include "model/NodeIndex.h"
#include "model/TopologyChange.h"

namespace mapvine {

class EditRecording;

// Image slots: 0 background, 1-5 the active icon families, 6-10 their
// inactive variants, 11 and up custom icons. Kind k shows slot k when
// active and k + 5 when inactive.
inline constexpr int kBackgroundSlot = 0;
inline constexpr int kHostSlot = 5;  // "MN.BMP", the "Host" family
inline constexpr int kInactiveOffset = 5;
inline constexpr int kStandardImageCount = 11;

// What NewNode did: added the node, found it already there (and took the
// new record), could not give it its kind's icon, or refused a kind outside
// NetworkNode..ConnectionNetwork.
enum class NewNodeResult { Added, Present, IconMissing, InvalidKind };
// NewLink results.
inline constexpr int kLinkAdded = 0;
inline constexpr int kLinkUpdated = -1;
inline constexpr int kLinkOwnerMissing = -2;
inline constexpr int kLinkDestinationMissing = -3;

// The document's arrangement that lays the background out as the user
// chose in the view (tile until they choose another); a document that asks
// for Stretch or Centre gets that whatever the view says.
inline constexpr BackgroundArrangement kArrangementChosenInView = BackgroundArrangement::Tile;

// Which of a node's icons a custom bitmap becomes.
enum class CustomIconRole { Active, Inactive, Both };

// The user's view settings; they travel in the saved file.
struct DocumentSettings {
  bool autoGrow = true;
  bool autoTile = false;
  bool activeQuery = false;
  bool internalTest = false;
  bool showLuOnDiscovery = true;
  bool showEnOnDiscovery = true;
  bool showNnOnDiscovery = true;
  bool showCnOnDiscovery = true;
  bool autoRefresh = false;
  int refreshSeconds = 60;
  bool showUnreachable = true;

  friend bool operator==(const DocumentSettings&, const DocumentSettings&) = default;
};

// Where the next node goes on the grid.
struct PlacementState {
  int cursorX = 0;
  int cursorY = 0;
  int savedCursorX = 0;
  int savedCursorY = 0;
  bool columnMode = false;
  bool pictureGrown = false;
  bool firstPlacement = true;
  int gridSpacing = 90;
  bool resizeWindowOnGrow = false;

  friend bool operator==(const PlacementState&, const PlacementState&) = default;
};

// The picture's size and background layout.
struct PictureState {
  BackgroundArrangement backgroundMode = kArrangementChosenInView;
  int pictureWidth = 0;   // requested; 0 = the background's own size
  int pictureHeight = 0;
  int composedWidth = 1;  // actually composed
  int composedHeight = 1;
};

// A node record as a refresh hands it over: kept byte for byte (for the
// detail dialog and the saved file), with the status the refresh decoded.
struct ReportedNodeRecord {
  const NodeRecordBytes& bytes;
  bool active = true;
};

// The single topology document: nodes and links, the image and palette
// tables they are drawn from, placement, the background picture and the
// settings. It reaches its window only through DocumentView and StatusLine.
class CMapvineDoc {
 public:
  CMapvineDoc();
  ~CMapvineDoc();
  CMapvineDoc(const CMapvineDoc&) = delete;
  CMapvineDoc& operator=(const CMapvineDoc&) = delete;

  // The window side; either may be null (no window: nothing is shown).
  void AttachView(DocumentView* view);
  void AttachStatusLine(StatusLine* status) { statusLine_ = status; }
  DocumentView* View() const { return view_; }
  // Tells the view, if any, that the picture changed in `area`, or all over.
  void PictureChanged(const Rect& area) const;
  void PictureChanged() const;
  // Tells the view that `nodes` were hidden or shown, or folded or unfolded
  // their LUs (DocumentView::NodesShownChanged); an empty list tells nothing.
  void NodesShownChanged(std::span<const CNode* const> nodes) const;
  // Who hears that the document holds another picture or that a refresh
  // ended (the application); none hears nothing.
  void SetListener(DocumentListener* listener) { listener_ = listener; }
  DocumentListener* Listener() const { return listener_; }

  void SetUp();
  void Clear();
  bool NewDocument();
  // Back to a new, empty picture whatever the document held before (a file
  // load that failed half-way): standard images, default background, view
  // redrawn, not modified.
  void ResetToNewPicture();

  // `nodeRecord` comes with the status the caller decoded from it.
  NewNodeResult NewNode(std::string_view resource, std::string_view fqName, int kind,
                        const ReportedNodeRecord* nodeRecord,
                        const DirectoryRecordBytes* directoryRecord);
  int NewLink(std::string_view owner, std::string_view destination, bool active, int tgNumber,
              const TgRecordBytes* tgRecord);
  int NewLink(CNode& first, CNode& second);
  void ManualAddNode();
  void ShowNodeCount(int displayed, int total);
  // Puts a text in the main window's status bar, when there is one.
  void ShowStatusText(std::string_view text);
  // The node a refresh reports by this name (ReportedName): a node the user
  // renamed is still the one the network means.
  CNode* FindNode(std::string_view name) const;
  // The first node, in list order, whose label or network-qualified name
  // is `text` ignoring case; hidden nodes count. Null when there is none.
  CNode* FindResource(std::string_view text) const { return nodeIndex_.FindByAnyName(text); }
  // Every label and network-qualified name once, sorted; what FindResource
  // offers a person typing. Kept while no name changes.
  std::shared_ptr<const SortedNames> SortedResourceNames() const { return nodeIndex_.SortedAnyNames(); }
  // Whether FindNode answers `node` by its name; a later holder of a shared
  // name is not what the name stands for.
  bool FoundByItsName(const CNode& node) const { return nodeIndex_.FindsByItsName(node); }
  // The link between the nodes a refresh reports by these names, with this
  // TG number, in either direction.
  CLink* FindLink(std::string_view owner, std::string_view destination, int tgNumber) const {
    return linkIndex_.Find(owner, destination, tgNumber);
  }

  // The node's image follows its status; end nodes and LUs pass their status
  // on to their links.
  void ApplyStatusImage(CNode& node);
  // A status check found the node reachable (active) or not: it shows that
  // status, an unreachable end node or LU takes its links down, and an
  // unreachable node is hidden when the settings do not show such nodes.
  void TakeCheckedStatus(CNode& node, ResourceStatus status);
  // Every refresh reports an end node's or LU's link to its owner as active
  // again, while the image rule leaves links alone when the node already
  // shows its inactive image: the links of unreachable ones go down here,
  // also when no status check runs this time, as a node found unreachable
  // earlier keeps that status until it answers again.
  void TakeLinksOfUnreachableNodesDown();

  // Brackets a batch of changes that nobody needs to see one by one (a
  // refresh feeding the network in, tiling), so that the view hears when it
  // starts and ends.
  void BatchStarts();
  void BatchEnds();
  // A refresh pass is about to report the whole network again: each link
  // counts the reports of this pass afresh, and the picture grows without
  // resizing the window.
  void StartReportRound();
  // The pass has reported what it found: the nodes it found again are
  // marked reported in this round.
  void FinishReportRound();
  // Counts refresh passes, so that a link tells this pass's reports from
  // earlier ones.
  int RefreshGeneration() const { return refreshGeneration_; }

  // The place for the next new node: moves the placement cursor one grid
  // step on, and grows the picture when the cursor runs off its edge.
  Point AdvancePlacement();
  void TileNodes();
  bool ComposeBackground(std::unique_ptr<CDIB> image, BackgroundArrangement mode, int width,
                         int height);
  void RebuildImages();

  // Commands that change the picture's images. An empty path asks for the
  // bitmap with the open-file dialog; a cancelled or refused file changes
  // nothing. The standard families are Host (kHostSlot), Workstation
  // (EndNode) and Server Workstation (NetworkNode), each inactive slot being
  // the active one + kInactiveOffset. AddUserImage answers the image slot,
  // -1 when nothing was loaded.
  bool NewBackgroundImage(const std::string& path = {});
  void SetStandardIcon(CNode& node, int activeSlot, int inactiveSlot);
  int AddUserImage(const std::string& path = {});
  void SetCustomIcon(CNode& node, CustomIconRole role, const std::string& path = {});
  // The same with an 8-bit image already in hand (one the window side
  // converted from another format); null changes nothing.
  bool NewBackgroundImage(std::unique_ptr<CDIB> image);
  int AddUserImage(std::unique_ptr<CDIB> image);
  void SetCustomIcon(CNode& node, CustomIconRole role, std::unique_ptr<CDIB> image);

  // While deferred, placement growth records the new canvas size but lays
  // out no new background until FinishDeferredComposition: a large refresh
  // grows the picture hundreds of times, each new background makes the
  // view fit and redraw, and nobody sees the steps in between. A document
  // without a view keeps the layout pending until a view attaches, so
  // composedBackground is up to date whenever a view shows it.
  void DeferComposition(bool defer);
  void FinishDeferredComposition();
  // A document that no window may ever show (a script's save or query)
  // lays out no background while it has no view: it keeps the canvas's
  // size and pulls nodes inside it as always, and leaves the layout until a
  // view attaches, if one ever does.
  void SetHeadless(bool headless) { headless_ = headless; }

  // Inserting, removing and renaming nodes and links goes through the
  // document so that its name indexes stay right, and so that no node is
  // left listing a destroyed link.
  CNode& InsertNode(std::unique_ptr<CNode> node);
  // Takes the node out and destroys every link it lists.
  std::unique_ptr<CNode> RemoveNode(CNode& node);
  void RenameNode(CNode& node, std::string_view label);
  CLink& AppendLink(std::unique_ptr<CLink> link);
  // Joins the link's ends to the centres of `a` and `b`, appends it and
  // lists it at both.
  CLink& AppendJoinedLink(std::unique_ptr<CLink> link, CNode& a, CNode& b);
  // Takes the link out of the link list and of every node that lists it,
  // and destroys it.
  void DeleteLink(CLink& link);
  void RenameLink(CLink& link, std::string_view owner, std::string_view destination);
  // Makes room in the name indexes for this many more nodes or links, when
  // many arrive at once (a file being opened).
  void ReserveNodes(std::size_t count) { nodeIndex_.Reserve(nodes_.size() + count); }
  void ReserveLinks(std::size_t count) { linkIndex_.Reserve(links_.size() + count); }

  // An edit being recorded hears of every node and link before it changes
  // in place (where and how it shows, its name, its status), arrives or
  // leaves. The document's own operations tell it; code that sets a node's
  // or link's fields directly calls NodeChanging or LinkChanging first.
  void SetEditRecording(EditRecording* recording) { recording_ = recording; }
  void NodeChanging(const CNode& node);
  void LinkChanging(const CLink& link);
  // Tells the edit being recorded that about `count` nodes are about to
  // change, so that it makes room for them at once.
  void ExpectNodesChanging(std::size_t count);

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) {
    modified_ = modified;
    if (modified) ++changeCount_;
  }
  // Counts the changes that marked the picture modified, so that an undo
  // history can tell the changes it made from those it did not (a refresh).
  std::uint64_t ChangeCount() const { return changeCount_; }

  const CSpriteList& Nodes() const { return nodes_; }
  CSpriteList& Nodes() { return nodes_; }
  // Every node in the order it joined the picture. The node list is linked,
  // and a walk over a large picture pays a trip to memory per node to find
  // the next; this one can fetch ahead.
  std::span<CNode* const> NodesByArrival() const { return arrivals_; }
  const OwningLinkList& Links() const { return links_; }

  DocumentSettings settings;
  PlacementState placement;
  PictureState picture;
  bool nodesAdded = false;
  // The picture was arranged by its connections: what a refresh adds then
  // goes next to what it connects to rather than onto the grid.
  bool arranged = false;
  // On an arranged picture, whether new resources go beside what they
  // connect to (the default) or onto the grid.
  bool placeNewNearNeighbours = true;
  // What the last refresh changed (sorted); not saved.
  ChangeList lastChanges;
  // Whether a refresh has something to compare with: the picture was
  // opened from a file, or a refresh has heard the whole network.
  bool HasBaseline() const { return hasBaseline_; }
  void SetBaseline() { hasBaseline_ = true; }
  // The local node's control point ("NETA.NN1") as the last refresh that
  // heard of it learned it; it names the network the picture shows. Not saved.
  std::string localControlPoint;

  std::vector<std::unique_ptr<CDIB>> images;
  std::vector<std::unique_ptr<CDIBPal>> palettes;
  std::vector<std::unique_ptr<CDIB>> workingImages;
  // The picture is shown through this palette, before saving and after
  // opening alike.
  std::unique_ptr<CDIBPal> mergedPalette;
  // The background laid out on the canvas, drawn where the picture is shown.
  std::unique_ptr<ComposedBackground> composedBackground;
  // Slot 0's image mapped to mergedPalette; the canvas is laid out from it.
  std::unique_ptr<CDIB> backgroundSource;

 private:
  // Enlarges the canvas by one grid step each way, up to the largest side;
  // false when it is that large already.
  bool Grow();
  // The canvas's width and height: the requested size, or the background's
  // own.
  Point CanvasSize() const;
  // Records the canvas's size and leaves its pixels for
  // ComposePendingPicture.
  void PostponeCanvas();
  void ComposeCanvas();
  // The arrangement the canvas is laid out in now.
  BackgroundArrangement ArrangementToLayOut() const;
  void ComposePendingPicture();
  bool FinishComposition();
  void PullNodesInside();
  std::unique_ptr<CDIB> LoadStandardBitmap(std::string_view name) const;
  std::unique_ptr<CDIB> MakeDefaultBackground() const;
  void ShowImage(CNode& node, int slot);
  void AttachToEnds(CLink& link);
  void DeleteLinks(std::span<CLink* const> doomed);

  DocumentView* view_ = nullptr;
  DocumentListener* listener_ = nullptr;
  StatusLine* statusLine_ = nullptr;
  EditRecording* recording_ = nullptr;
  int refreshGeneration_ = 1;
  CSpriteList nodes_;
  std::vector<CNode*> arrivals_;
  FoundAgain foundAgain_;
  OwningLinkList links_;
  NodeIndex nodeIndex_{nodes_};
  LinkIndex linkIndex_;
  bool modified_ = false;
  std::uint64_t changeCount_ = 0;
  bool hasBaseline_ = false;
  bool firstDocument_ = true;
  bool deferComposition_ = false;
  bool headless_ = false;
  bool compositionPending_ = false;
  // The canvas changed size while composition was deferred: nodes it no
  // longer holds are pulled back when the deferral ends.
  bool pullBackPending_ = false;
};

// Brackets a batch (CMapvineDoc::BatchStarts and BatchEnds) for the length
// of a scope, however the scope is left. Batches nest: the view draws again
// when the outermost ends.
class DocumentBatch {
 public:
  explicit DocumentBatch(CMapvineDoc& doc) : doc_(doc) { doc_.BatchStarts(); }
  ~DocumentBatch() { doc_.BatchEnds(); }
  DocumentBatch(const DocumentBatch&) = delete;
  DocumentBatch& operator=(const DocumentBatch&) = delete;

 private:
  CMapvineDoc& doc_;
};

}  // namespace mapvine
