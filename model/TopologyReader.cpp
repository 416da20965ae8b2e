// Loading a saved picture. Every count is checked against the bytes that
// remain before anything is built for it, and every value against the rules
// the writer obeys; a file that breaks any of them is refused as a whole.
#include <memory>
#include <vector>

#include "base/UserPrompts.h"
#include "model/SavedTopology.h"
#include "model/TopologyRecords.h"
#include "model/TopologyRejoin.h"
#include "model/TopologySections.h"
#include "model/TopologyStrings.h"

namespace mapvine {
namespace {

using topology::SavedLink;
using topology::SavedNode;

// A count of records, each at least `minimumBytes` long, that the rest of
// the file can actually hold.
bool ReadCount(ByteSource& in, std::size_t minimumBytes, std::size_t& count) {
  std::int32_t raw = 0;
  if (!in.ReadWhole([&raw](ByteReader& window) { return window.ReadI32(raw); }) || raw < 0) {
    return false;
  }
  if (static_cast<std::uint64_t>(raw) * minimumBytes > in.Remaining()) return false;
  count = static_cast<std::size_t>(raw);
  return true;
}

bool ReadString(ByteSource& in, std::string& text) {
  return in.ReadWhole(
      [&text](ByteReader& window) { return topology::ReadCountedString(window, text); });
}

bool ReadMarker(ByteSource& in, std::string_view marker) {
  std::string text;
  return ReadString(in, text) && text == marker;
}

class TopologyLoader {
 public:
  TopologyLoader(CMapvineDoc& doc, ByteSource& in) : doc_(doc), in_(in) {}

  LoadOutcome Run() {
    doc_.Clear();
    if (!ReadSignature()) return Refuse(LoadOutcome::InvalidFormat, kInvalidFileFormat);
    if (!ReadSettings() || !ReadImages() || !ReadMarker(in_, topology::kFirstMarker) ||
        !ReadNodes() || !ReadMarker(in_, topology::kSecondMarker) || !ReadLinks()) {
      return Refuse(LoadOutcome::Corrupted, kCorruptedFile);
    }
    topology::ReadSections(in_, doc_, stored_);
    topology::RejoinLinks(doc_.Nodes(), doc_.Links());
    doc_.RebuildImages();
    // Pulling nodes onto the canvas moves link ends too; a picture moved
    // beyond what a save accepts could never be saved again.
    if (!ComposePicture() || !topology::PictureStorable(doc_)) {
      return Refuse(LoadOutcome::Corrupted, kCorruptedFile);
    }
    TellPictureLoaded();
    doc_.PictureChanged();
    doc_.SetModified(false);
    doc_.SetBaseline();
    return LoadOutcome::Loaded;
  }

 private:
  bool ReadSignature() {
    std::string signature;
    return ReadString(in_, signature) && signature == kTopologySignature;
  }

  bool ReadSettings() {
    topology::SettingsBlock block{};
    const bool whole = in_.ReadWhole([&block](ByteReader& window) {
      for (std::int32_t& word : block) {
        if (!window.ReadI32(word)) return false;
      }
      return true;
    });
    if (!whole) return false;
    if (!topology::SettingsAcceptable(block)) return false;
    topology::ApplySettings(block, doc_);
    return true;
  }

  bool ReadImages() {
    std::size_t count = 0;
    if (!ReadCount(in_, topology::kMinimumImageBytes, count) ||
        count < topology::kMinimumImageCount) {
      return false;
    }
    doc_.images.clear();
    doc_.images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      auto image = std::make_unique<CDIB>();
      if (!in_.ReadWhole([&image](ByteReader& window) { return bool(image->Load(window)); })) {
        return false;
      }
      doc_.images.push_back(std::move(image));
    }
    doc_.palettes.clear();
    doc_.palettes.reserve(count);
    for (const auto& image : doc_.images) {
      auto palette = std::make_unique<CDIBPal>();
      palette->CreateFromImage(*image);
      doc_.palettes.push_back(std::move(palette));
    }
    return true;
  }

  bool ReadNodes() {
    std::size_t count = 0;
    if (!ReadCount(in_, topology::kMinimumNodeBytes, count)) return false;
    std::vector<std::unique_ptr<CNode>> read;
    read.reserve(count);
    doc_.ReserveNodes(count);
    // The icon stored with each node must be a sound image, but the node
    // shows the image-table slot it names, so the icon itself is not kept.
    const std::size_t imageCount = doc_.images.size();
    for (std::size_t i = 0; i < count; ++i) {
      SavedNode record;
      const bool whole = in_.ReadWhole(
          [&record](ByteReader& window) { return CDIB::Skip(window) && record.Read(window); });
      if (!whole || !record.Acceptable(imageCount)) return false;
      auto node = std::make_unique<CNode>();
      record.MoveInto(*node);
      stored_.push_back(node.get());
      read.push_back(std::move(node));
    }
    // Insertion puts a node before every node of equal depth; inserting from
    // the back keeps such nodes in their stored order, so that saving and
    // opening a picture does not turn its stacking order around.
    for (auto it = read.rbegin(); it != read.rend(); ++it) doc_.InsertNode(std::move(*it));
    for (const auto& node : doc_.Nodes()) {
      node->SetImage(*doc_.images[static_cast<std::size_t>(node->imageIndex)], 0, 0);
    }
    return true;
  }

  bool ReadLinks() {
    std::size_t count = 0;
    if (!ReadCount(in_, topology::kMinimumLinkBytes, count)) return false;
    doc_.ReserveLinks(count);
    for (std::size_t i = 0; i < count; ++i) {
      SavedLink record;
      const bool whole =
          in_.ReadWhole([&record](ByteReader& window) { return record.Read(window); });
      if (!whole || !record.Acceptable()) return false;
      auto link = std::make_unique<CLink>();
      record.MoveInto(*link);
      doc_.AppendLink(std::move(link));
    }
    return true;
  }

  // The background comes from slot 0, which keeps its image throughout;
  // rebuilding the images has made the source to lay out from it.
  bool ComposePicture() {
    if (!doc_.backgroundSource) return false;
    PictureState& picture = doc_.picture;
    if (picture.pictureWidth == 0) picture.pictureWidth = doc_.backgroundSource->GetWidth();
    if (picture.pictureHeight == 0) picture.pictureHeight = doc_.backgroundSource->GetHeight();
    return doc_.ComposeBackground(nullptr, picture.backgroundMode, picture.pictureWidth,
                                  picture.pictureHeight);
  }

  void TellPictureLoaded() {
    if (DocumentListener* listener = doc_.Listener()) listener->PictureLoaded();
  }

  // Whatever was read is dropped for a new, empty picture, made before the
  // message shows so that anything drawn meanwhile draws a whole document.
  LoadOutcome Refuse(LoadOutcome outcome, std::string_view message) {
    doc_.ResetToNewPicture();
    TellPictureLoaded();
    Prompts().ShowMessage(message);
    return outcome;
  }

  CMapvineDoc& doc_;
  ByteSource& in_;
  std::vector<CNode*> stored_;  // the nodes in the order of their records
};

}  // namespace

LoadOutcome LoadTopology(CMapvineDoc& doc, std::span<const std::uint8_t> bytes) {
  SpanSource source(bytes);
  return LoadTopology(doc, source);
}

LoadOutcome LoadTopology(CMapvineDoc& doc, ByteSource& bytes) {
  return TopologyLoader(doc, bytes).Run();
}

}  // namespace mapvine
