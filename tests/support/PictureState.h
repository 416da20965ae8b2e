#pragma once

#include <map>
#include <string>

#include "model/DocumentEdit.h"
#include "model/NodeIndex.h"

namespace mapvine::testing {

// The whole picture by name, as an undo must bring it back: every node and
// link, the placement and the arranged mark. A name several nodes share
// stands for the first, as FindNode answers.
struct PictureState {
  std::map<std::string, NodeState> nodes;
  std::map<LinkKey, LinkState> links;
  PlacementState placement;
  bool arranged = false;

  friend bool operator==(const PictureState&, const PictureState&) = default;
};

inline PictureState StateOfPicture(const CMapvineDoc& doc) {
  PictureState state{{}, {}, doc.placement, doc.arranged};
  for (const auto& node : doc.Nodes()) state.nodes.emplace(ReportedName(*node), WholeStateOf(*node));
  std::map<std::tuple<std::string, std::string, int>, int> met;
  for (const auto& link : doc.Links()) {
    const int which = met[{link->ownerName, link->destinationName, link->tgNumber}]++;
    state.links.emplace(LinkKey{link->ownerName, link->destinationName, link->tgNumber, which}, StateOf(*link));
  }
  return state;
}

}  // namespace mapvine::testing
