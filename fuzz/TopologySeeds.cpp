// Writes the seed pictures of the topology_load fuzz target:
//   topology_seeds fuzz/corpus/topology_load
// The sample network (resources/sample.net) is read from the simulated
// node by a real refresh pass and saved, once with the standard images and
// once with tiny ones (small seeds mutate faster); an empty picture and a
// hand-made one with every odd case the format has complete the set.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "model/SavedTopology.h"
#include "refresh/RefreshPass.h"
#include "snanode/NetworkParser.h"
#include "snanode/SampleNetwork.h"
#include "snanode/SimulatedNode.h"
#include "tests/model/TinyImages.h"

namespace {

using namespace mapvine;
using testing::UseTinyImages;

// Two nodes of one name in different case, a link to itself, a link to a
// node that is gone, a hidden and an inactive node, settings off default.
void AddOddCases(CMapvineDoc& doc) {
  doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  doc.NewNode("EN2", "NETA.EN2", EndNode, nullptr, nullptr);
  doc.NewNode("EN2B", "neta.en2", EndNode, nullptr, nullptr);
  doc.NewNode("LU3", "NETA.LU3", LogicalUnit, nullptr, nullptr);
  doc.NewLink("NN1", "EN2", 1, 21, nullptr);
  doc.NewLink("LU3", "NN1", 0, 0, nullptr);
  doc.NewLink(*doc.FindNode("NN1"), *doc.FindNode("NN1"));
  doc.FindNode("EN2B")->hidden = true;
  doc.FindNode("EN2")->status = ResourceStatus::Inactive;
  doc.ApplyStatusImage(*doc.FindNode("EN2"));
  doc.settings.autoRefresh = true;
  doc.settings.refreshSeconds = 30;
  doc.picture.pictureWidth = 0;
  doc.picture.pictureHeight = 0;
}

bool Save(const CMapvineDoc& doc, const std::filesystem::path& path) {
  if (!SaveTopologyFile(doc, path.string())) return false;
  std::printf("%s: %ju bytes\n", path.c_str(), std::filesystem::file_size(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  auto parsed = snanode::ParseNetwork(snanode::SampleNetworkText(), "sample.net");
  if (!parsed.network) {
    std::fprintf(stderr, "%s\n", parsed.error.c_str());
    return 1;
  }
  const snanode::SimulatedNode node(std::move(*parsed.network));
  const SnaCtlFunction snaCtl = [&node](void* block, std::uint32_t length) {
    node.Call(block, length);
  };

  bool saved = true;
  {
    CMapvineDoc doc;
    doc.NewDocument();
    dorefresh(doc, snaCtl);
    saved &= Save(doc, folder / "sample.top");
  }
  {
    CMapvineDoc doc;
    doc.NewDocument();
    UseTinyImages(doc);
    dorefresh(doc, snaCtl);
    saved &= Save(doc, folder / "sample_tiny.top");
  }
  {
    CMapvineDoc doc;
    doc.NewDocument();
    UseTinyImages(doc);
    saved &= Save(doc, folder / "empty_tiny.top");
    AddOddCases(doc);
    saved &= Save(doc, folder / "odd_cases_tiny.top");
  }
  return saved ? 0 : 1;
}
