// Storing the picture: signature, settings, image table, nodes, links.
#include <climits>
#include <vector>

#include "model/SavedTopology.h"
#include "model/TopologyRecords.h"
#include "model/TopologySections.h"
#include "model/TopologyStrings.h"

namespace mapvine {
namespace {

using topology::SavedLinkView;
using topology::SavedNodeView;

// Everything the file will hold, checked against the reader's rules before
// the first byte is written.
struct StoredPicture {
  topology::SettingsBlock settings{};
  std::vector<SavedNodeView> nodes;
  std::vector<SavedLinkView> links;
};

bool CountFits(std::size_t count) { return count <= INT_MAX; }

bool Gather(const CMapvineDoc& doc, StoredPicture& picture) {
  picture.settings = topology::SettingsOf(doc);
  if (!topology::SettingsAcceptable(picture.settings)) return false;

  const std::size_t imageCount = doc.images.size();
  if (imageCount < topology::kMinimumImageCount || !CountFits(imageCount)) return false;
  for (const auto& image : doc.images) {
    if (!image || !topology::ImageStorable(*image)) return false;
  }

  if (!CountFits(doc.Nodes().size()) || !CountFits(doc.Links().size())) return false;
  picture.nodes.reserve(doc.Nodes().size());
  for (const auto& node : doc.Nodes()) {
    picture.nodes.push_back(SavedNodeView::Of(*node));
    if (!topology::ImageStorable(*node) || !picture.nodes.back().Acceptable(imageCount)) {
      return false;
    }
  }
  picture.links.reserve(doc.Links().size());
  for (const auto& link : doc.Links()) {
    picture.links.push_back(SavedLinkView::Of(*link));
    if (!picture.links.back().Acceptable()) return false;
  }
  return true;
}

bool WriteCount(ByteSink& out, std::size_t count) {
  return out.WriteI32(static_cast<std::int32_t>(count));
}

}  // namespace

namespace topology {

bool PictureStorable(const CMapvineDoc& doc) {
  StoredPicture picture;
  return Gather(doc, picture);
}

}  // namespace topology

bool StoreTopology(const CMapvineDoc& doc, ByteSink& out) {
  StoredPicture picture;
  if (!Gather(doc, picture)) return false;

  if (!topology::WriteCountedString(out, kTopologySignature)) return false;
  for (std::int32_t word : picture.settings) {
    if (!out.WriteI32(word)) return false;
  }
  if (!WriteCount(out, doc.images.size())) return false;
  for (const auto& image : doc.images) {
    if (!image->Save(out)) return false;
  }

  if (!topology::WriteCountedString(out, topology::kFirstMarker) ||
      !WriteCount(out, picture.nodes.size())) {
    return false;
  }
  auto record = picture.nodes.begin();
  for (const auto& node : doc.Nodes()) {
    // The node's current icon goes first; a load checks it but shows the
    // image-table slot the record names instead.
    if (!node->Save(out) || !(record++)->Write(out)) return false;
  }

  if (!topology::WriteCountedString(out, topology::kSecondMarker) ||
      !WriteCount(out, picture.links.size())) {
    return false;
  }
  for (const SavedLinkView& link : picture.links) {
    if (!link.Write(out)) return false;
  }
  return topology::WriteSections(doc, out);
}

}  // namespace mapvine
