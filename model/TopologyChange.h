#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/ChangeMark.h"

namespace mapvine {

// One difference a refresh found between the picture before it and what the
// node reported. Names are network-qualified; a link names its two ends.
// Find locates a node by that name, a link by its owner end's.
struct TopologyChange {
  ChangeMark kind = ChangeMark::None;
  bool isLink = false;
  std::string name;             // a node's name, or a link's owner end
  std::string destinationName;  // a link's other end
  int tgNumber = 0;

  friend bool operator==(const TopologyChange&, const TopologyChange&) = default;
};

// What one refresh changed. A picture that never had a baseline (a new
// picture, not one opened from a file) has nothing to compare with: the
// first refresh that hears the node sets the baseline and marks nothing,
// `baseline` says so, and the counts say what the picture then held.
struct ChangeList {
  // Never changed once made: the history's thread reads the very list the
  // window shows, without a copy of its own.
  std::shared_ptr<const std::vector<TopologyChange>> shared = std::make_shared<const std::vector<TopologyChange>>();
  bool baseline = false;
  std::size_t nodeCount = 0;
  std::size_t linkCount = 0;

  const std::vector<TopologyChange>& Changes() const { return *shared; }
};

// "new", "gone", "active" or "inactive".
const char* ChangeWord(ChangeMark kind);
// How a person reads the change: "new", "gone", "went inactive", "went active".
const char* ChangeDescription(ChangeMark kind);
// The resource as a person reads it: "NETA.NN1", or "NETA.NN1 - NETA.NN5, TG 21".
std::string ChangeResourceText(const TopologyChange& change);
// One line for scripts: the word, then the node's name, or the link's two
// ends and TG number, separated by blanks ("inactive NETA.NN1 NETA.NN5 21").
std::string ChangeLine(const TopologyChange& change);
// The same line added to `out`, for those who print many.
void AppendChangeLine(const TopologyChange& change, std::string& out);
// Nodes before links, then by names, TG number and kind: the same changes
// always come out in the same order.
void SortChanges(std::vector<TopologyChange>& changes);
// What a refresh changed, counted by kind: "2 new, 1 gone, 3 went inactive",
// or "No changes"; after a baseline, what the picture holds: "36 nodes, 49 links".
std::string ChangeSummary(const ChangeList& list);

}  // namespace mapvine
