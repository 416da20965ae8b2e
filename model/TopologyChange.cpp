#include "model/TopologyChange.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace mapvine {

const char* ChangeWord(ChangeMark kind) {
  switch (kind) {
    case ChangeMark::New:
      return "new";
    case ChangeMark::Gone:
      return "gone";
    case ChangeMark::WentInactive:
      return "inactive";
    case ChangeMark::WentActive:
      return "active";
    case ChangeMark::None:
      break;
  }
  return "";
}

const char* ChangeDescription(ChangeMark kind) {
  switch (kind) {
    case ChangeMark::WentInactive:
      return "went inactive";
    case ChangeMark::WentActive:
      return "went active";
    default:
      return ChangeWord(kind);
  }
}

std::string ChangeResourceText(const TopologyChange& change) {
  if (!change.isLink) return change.name;
  return change.name + " - " + change.destinationName + ", TG " + std::to_string(change.tgNumber);
}

std::string ChangeLine(const TopologyChange& change) {
  std::string line;
  AppendChangeLine(change, line);
  return line;
}

void AppendChangeLine(const TopologyChange& change, std::string& out) {
  out += ChangeWord(change.kind);
  out += ' ';
  out += change.name;
  if (!change.isLink) return;
  out += ' ';
  out += change.destinationName;
  out += ' ';
  out += std::to_string(change.tgNumber);
}

void SortChanges(std::vector<TopologyChange>& changes) {
  std::stable_sort(changes.begin(), changes.end(), [](const TopologyChange& a, const TopologyChange& b) {
    return std::tie(a.isLink, a.name, a.destinationName, a.tgNumber, a.kind) <
           std::tie(b.isLink, b.name, b.destinationName, b.tgNumber, b.kind);
  });
}

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string ChangeSummary(const ChangeList& list) {
  if (list.baseline) {
    return Counted(list.nodeCount, "node", "nodes") + ", " + Counted(list.linkCount, "link", "links");
  }
  const std::vector<TopologyChange>& changes = list.Changes();
  constexpr std::array kOrder{ChangeMark::New, ChangeMark::Gone, ChangeMark::WentInactive,
                              ChangeMark::WentActive};
  std::string summary;
  for (const ChangeMark kind : kOrder) {
    const auto count = std::count_if(changes.begin(), changes.end(),
                                     [kind](const TopologyChange& c) { return c.kind == kind; });
    if (count == 0) continue;
    if (!summary.empty()) summary += ", ";
    summary += std::to_string(count) + " " + ChangeDescription(kind);
  }
  return summary.empty() ? "No changes" : summary;
}

}  // namespace mapvine
