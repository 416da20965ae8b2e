#include "history/RefreshNotice.h"

#include "base/QualifiedName.h"

namespace mapvine {
namespace {

constexpr std::size_t kNamesShown = 3;

struct Group {
  ChangeMark kind;
  bool links;
  const char* verb;
  std::vector<const TopologyChange*> changes;
};

// "NN1–NN5 TG 24" for a link, "NN1" for a node: short names read best.
std::string ShortText(const TopologyChange& change) {
  std::string text = ShortName(change.name);
  if (change.isLink) {
    text += "\u2013" + ShortName(change.destinationName) + " TG " + std::to_string(change.tgNumber);
  }
  return text;
}

std::string Headline(const Group& group) {
  const std::size_t count = group.changes.size();
  const char* noun = group.links ? (count == 1 ? "link" : "links") : (count == 1 ? "node" : "nodes");
  return std::to_string(count) + " " + noun + " " + group.verb;
}

}  // namespace

std::optional<RefreshNotice> NoticeFor(const std::vector<TopologyChange>& changes, const FlapTracker& flapping,
                                       const NoticeKinds& kinds) {
  std::vector<Group> groups;
  const auto wanted = [&](ChangeMark kind, const char* verb) {
    for (const bool links : {true, false}) groups.push_back({kind, links, verb, {}});
  };
  if (kinds.inactive) wanted(ChangeMark::WentInactive, "went inactive");
  if (kinds.gone) wanted(ChangeMark::Gone, "gone");
  // What is new may be new to the network, not back: only "went active" is a recovery.
  if (kinds.recovered) wanted(ChangeMark::WentActive, "went active");
  for (const TopologyChange& change : changes) {
    if (flapping.IsFlapping(ResourceKey(change))) continue;
    for (Group& group : groups) {
      if (group.kind == change.kind && group.links == change.isLink) group.changes.push_back(&change);
    }
  }
  std::erase_if(groups, [](const Group& group) { return group.changes.empty(); });
  if (groups.empty()) return std::nullopt;

  RefreshNotice notice;
  notice.first = *groups.front().changes.front();
  notice.summary = Headline(groups.front());
  notice.recovery = true;
  for (const Group& group : groups) {
    notice.recovery = notice.recovery && group.kind == ChangeMark::WentActive;
    if (!notice.body.empty()) notice.body += '\n';
    notice.body += Headline(group) + ": ";
    for (std::size_t i = 0; i < group.changes.size() && i < kNamesShown; ++i) {
      notice.body += (i ? ", " : "") + ShortText(*group.changes[i]);
    }
    if (group.changes.size() > kNamesShown) notice.body += ", \u2026";
  }
  return notice;
}

}  // namespace mapvine
