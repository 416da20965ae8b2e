#include "model/MapvineDoc.h"

#include "model/EditRecording.h"

#include <cstdio>

#include "graphics/ResourceFiles.h"

namespace mapvine {
namespace {

constexpr const char* kActiveIconFiles[] = {"NN.BMP", "EN.BMP", "LU.BMP", "CN.BMP", "MN.BMP"};
constexpr const char* kInactiveIconFiles[] = {"NNI.BMP", "ENI.BMP", "LUI.BMP", "CNI.BMP",
                                              "MNI.BMP"};
constexpr const char* kBackgroundFile = "backblue.bmp";
constexpr int kBlankBackgroundWidth = 520;
constexpr int kBlankBackgroundHeight = 320;

std::unique_ptr<CDIBPal> PaletteOf(const CDIB& image) {
  auto palette = std::make_unique<CDIBPal>();
  palette->CreateFromImage(image);
  return palette;
}

std::unique_ptr<CDIBPal> DefaultPalette() {
  auto palette = std::make_unique<CDIBPal>();
  palette->CreateColorCube();
  return palette;
}

}  // namespace

CMapvineDoc::CMapvineDoc() { SetUp(); }

CMapvineDoc::~CMapvineDoc() {
  // The view may already be gone, and nobody is left to tell what leaves.
  view_ = nullptr;
  // Links point at nodes and nodes list links: drop both together.
  Clear();
}

void CMapvineDoc::AttachView(DocumentView* view) {
  view_ = view;
  nodes_.SetView(view ? &view->OffscreenView() : nullptr);
  if (view_) ComposePendingPicture();
}

void CMapvineDoc::PictureChanged(const Rect& area) const {
  if (view_) view_->OffscreenView().PictureChanged(area);
}

void CMapvineDoc::PictureChanged() const {
  if (view_) view_->OffscreenView().PictureChanged();
}

void CMapvineDoc::NodesShownChanged(std::span<const CNode* const> nodes) const {
  if (view_ && !nodes.empty()) view_->NodesShownChanged(nodes);
}

std::unique_ptr<CDIB> CMapvineDoc::LoadStandardBitmap(std::string_view name) const {
  auto image = std::make_unique<CDIB>();
  // A missing or unreadable file leaves the default blank image in its slot.
  if (const auto path = FindBitmapFile(name)) image->Load(*path);
  return image;
}

std::unique_ptr<CDIB> CMapvineDoc::MakeDefaultBackground() const {
  if (auto path = FindBitmapFile(kBackgroundFile)) {
    auto image = std::make_unique<CDIB>();
    if (image->Load(*path)) return image;
  }
  auto blank = std::make_unique<CDIB>();
  const auto palette = DefaultPalette();
  blank->Create(kBlankBackgroundWidth, kBlankBackgroundHeight, palette.get());
  return blank;
}

void CMapvineDoc::SetUp() {
  settings = DocumentSettings{};
  placement = PlacementState{};
  picture = PictureState{};
  nodesAdded = false;
  arranged = false;
  placeNewNearNeighbours = true;

  std::vector<std::unique_ptr<CDIB>> activeIcons;
  for (const char* file : kActiveIconFiles) activeIcons.push_back(LoadStandardBitmap(file));

  images.clear();
  images.push_back(MakeDefaultBackground());
  for (auto& icon : activeIcons) images.push_back(std::move(icon));
  for (const char* file : kInactiveIconFiles) images.push_back(LoadStandardBitmap(file));

  palettes.clear();
  for (const auto& image : images) palettes.push_back(PaletteOf(*image));
}

void CMapvineDoc::Clear() {
  if (!images.empty()) images.resize(1);
  if (!palettes.empty()) palettes.resize(1);
  if (view_) view_->AllRemoving();
  nodeIndex_.Clear();
  linkIndex_.Clear();
  lastChanges = {};
  hasBaseline_ = false;
  links_.DeleteAll();
  arrivals_.clear();
  foundAgain_.Clear();
  nodes_.DeleteAll();
}

bool CMapvineDoc::NewDocument() {
  if (firstDocument_) {
    firstDocument_ = false;
  } else {
    Clear();
    SetUp();
  }
  placement.pictureGrown = false;
  placement.columnMode = false;
  nodes_.SetView(view_ ? &view_->OffscreenView() : nullptr);

  composedBackground.reset();
  backgroundSource.reset();
  ComposeBackground(MakeDefaultBackground(), kArrangementChosenInView, 0, 0);

  PictureChanged();
  modified_ = false;
  return true;
}

void CMapvineDoc::ResetToNewPicture() {
  // The constructor's set-up no longer describes the document: run it again.
  firstDocument_ = false;
  NewDocument();
}

void CMapvineDoc::ShowNodeCount(int displayed, int total) {
  char text[64];
  std::snprintf(text, sizeof text, "Displaying %i of %i nodes", displayed, total);
  ShowStatusText(text);
}

void CMapvineDoc::ShowStatusText(std::string_view text) {
  if (statusLine_) statusLine_->SetStatusText(text);
}

CNode* CMapvineDoc::FindNode(std::string_view name) const { return nodeIndex_.Find(name); }

CNode& CMapvineDoc::InsertNode(std::unique_ptr<CNode> node) {
  CNode& inserted = nodes_.Insert(std::move(node));
  nodeIndex_.Add(inserted);
  arrivals_.push_back(&inserted);
  if (recording_) recording_->NodeAdded(inserted);
  return inserted;
}

void CMapvineDoc::NodeChanging(const CNode& node) {
  if (recording_) recording_->NodeChanging(node);
}

void CMapvineDoc::ExpectNodesChanging(std::size_t count) {
  if (recording_) recording_->ExpectNodes(count);
}

void CMapvineDoc::LinkChanging(const CLink& link) {
  if (recording_) recording_->LinkChanging(link);
}

void CMapvineDoc::RenameNode(CNode& node, std::string_view label) {
  NodeChanging(node);
  nodeIndex_.Remove(node);
  node.label = label;
  nodeIndex_.Add(node);
}

CLink& CMapvineDoc::AppendLink(std::unique_ptr<CLink> link) {
  CLink& appended = *link;
  links_.Add(std::move(link));
  linkIndex_.Add(appended);
  if (recording_) recording_->LinkAdded(appended);
  return appended;
}

void CMapvineDoc::RenameLink(CLink& link, std::string_view owner, std::string_view destination) {
  linkIndex_.Remove(link);
  link.ownerName = owner;
  link.destinationName = destination;
  linkIndex_.Add(link);
}

}  // namespace mapvine
