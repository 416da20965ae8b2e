#pragma once

// Small pictures for the saved-file tests: tiny images keep the files a
// few kilobytes long, so that every prefix of one can be tried.

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/SavedTopology.h"
#include "tests/model/FakeDocumentView.h"
#include "tests/model/TinyImages.h"
#include "tests/support/ScriptedPrompts.h"

namespace mapvine::testing {


// A new picture with tiny images: three nodes, two reported links and a
// link drawn from a node to itself.
struct SmallPicture : DocumentWithView {
  SmallPicture() {
    UseTinyImages(doc);
    doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
    doc.NewNode("EN2", "NETA.EN2", EndNode, nullptr, nullptr);
    doc.NewNode("LU3", "NETA.LU3", LogicalUnit, nullptr, nullptr);
    doc.NewLink("NN1", "EN2", 1, 21, nullptr);
    doc.NewLink("LU3", "EN2", 0, 0, nullptr);
    doc.NewLink(*doc.FindNode("NN1"), *doc.FindNode("NN1"));
  }
};

inline std::vector<std::uint8_t> Stored(const CMapvineDoc& doc) {
  VectorSink sink;
  EXPECT_TRUE(StoreTopology(doc, sink));
  return sink.Take();
}

// What every refused load must leave: a new, empty, displayable picture.
inline void ExpectFreshPicture(const DocumentWithView& d) {
  const CMapvineDoc& doc = d.doc;
  EXPECT_TRUE(doc.Nodes().empty());
  EXPECT_TRUE(doc.Links().empty());
  ASSERT_EQ(doc.images.size(), static_cast<std::size_t>(kStandardImageCount));
  EXPECT_EQ(doc.palettes.size(), doc.images.size());
  EXPECT_EQ(doc.workingImages.size(), doc.images.size());
  for (const auto& image : doc.images) ASSERT_NE(image, nullptr);
  ASSERT_NE(doc.composedBackground, nullptr);
  ASSERT_NE(doc.backgroundSource, nullptr);
  EXPECT_EQ(doc.picture.composedWidth, doc.composedBackground->GetWidth());
  ASSERT_TRUE(d.view.HasBuffer());
  EXPECT_EQ(d.view.BufferRect().Width(), doc.composedBackground->GetWidth());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.settings.refreshSeconds, 60);
  EXPECT_GT(d.view.picturesLoaded, 0);
  EXPECT_FALSE(d.doc.settings.autoRefresh);
}

// Little-endian pieces, for building and patching files by hand.
inline void PutI32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(std::uint32_t(value) >> (8 * i));
}
inline std::int32_t GetI32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t{bytes[at + i]} << (8 * i);
  return static_cast<std::int32_t>(v);
}

inline std::size_t Find(const std::vector<std::uint8_t>& bytes, std::string_view text) {
  const auto it = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  EXPECT_NE(it, bytes.end()) << text;
  return static_cast<std::size_t>(it - bytes.begin());
}

}  // namespace mapvine::testing
