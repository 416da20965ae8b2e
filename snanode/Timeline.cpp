#include "snanode/Timeline.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace snanode {
namespace {

std::string TgKey(const std::string& owner, const std::string& destination, std::uint8_t number) {
  return owner + ' ' + destination + ' ' + std::to_string(number);
}

bool HasNodeRecord(ResourceKind kind) { return kind != ResourceKind::EndNode && kind != ResourceKind::LogicalUnit; }

// Applies changes to a copy of the base network, replacing by name or key
// and marking removals, then serves what is left.
class NetworkEditor {
 public:
  explicit NetworkEditor(const Network& base) : network_(base) {
    for (std::size_t i = 0; i < network_.resources.size(); ++i) resources_.emplace(network_.resources[i].name, i);
    for (std::size_t i = 0; i < network_.tgs.size(); ++i) {
      const TransmissionGroup& tg = network_.tgs[i];
      tgs_.emplace(TgKey(tg.owner, tg.destination, tg.number), i);
    }
    for (std::size_t i = 0; i < network_.aping.size(); ++i) aping_.emplace(network_.aping[i].partner, i);
    resourceGone_.resize(network_.resources.size());
    tgGone_.resize(network_.tgs.size());
  }

  void operator()(const Resource& resource) {
    removedNames_.erase(resource.name);
    Put(resources_, resource.name, network_.resources, resourceGone_, resource);
  }
  void operator()(const TransmissionGroup& tg) {
    Put(tgs_, TgKey(tg.owner, tg.destination, tg.number), network_.tgs, tgGone_, tg);
  }
  void operator()(const ApingRule& rule) {
    const auto [found, added] = aping_.try_emplace(rule.partner, network_.aping.size());
    if (added) {
      network_.aping.push_back(rule);
    } else {
      network_.aping[found->second] = rule;
    }
  }
  void operator()(const ResourceRemoval& removal) {
    removedNames_.insert(removal.name);
    Take(resources_, removal.name, resourceGone_);
  }
  void operator()(const TgRemoval& removal) {
    Take(tgs_, TgKey(removal.owner, removal.destination, removal.number), tgGone_);
  }
  void operator()(const TimingChange& change) { network_.timing[static_cast<std::size_t>(change.verb)] = change.timing; }

  Network Finish() const {
    Network served;
    served.state = network_.state;
    served.habits = network_.habits;
    served.timing = network_.timing;
    for (std::size_t i = 0; i < network_.resources.size(); ++i) {
      if (resourceGone_[i]) continue;
      Resource resource = network_.resources[i];
      if (!resource.parent.empty() && !Present(resource.parent)) {
        if (resource.kind == ResourceKind::LogicalUnit) continue;  // goes with its owner
        resource.parent.clear();                                   // an end node without a server
      }
      served.resources.push_back(std::move(resource));
    }
    for (std::size_t i = 0; i < network_.tgs.size(); ++i) {
      const TransmissionGroup& tg = network_.tgs[i];
      if (!tgGone_[i] && Present(tg.owner) && Present(tg.destination)) served.tgs.push_back(tg);
    }
    for (const ApingRule& rule : network_.aping) {
      if (!removedNames_.contains(rule.partner)) served.aping.push_back(rule);
    }
    return served;
  }

 private:
  template <typename T>
  static void Put(std::unordered_map<std::string, std::size_t>& index, const std::string& key, std::vector<T>& items,
                  std::vector<bool>& gone, const T& item) {
    const auto [found, added] = index.try_emplace(key, items.size());
    if (added) {
      items.push_back(item);
      gone.push_back(false);
    } else {
      items[found->second] = item;
    }
  }

  static void Take(std::unordered_map<std::string, std::size_t>& index, const std::string& key,
                   std::vector<bool>& gone) {
    const auto found = index.find(key);
    if (found == index.end()) return;
    gone[found->second] = true;
    index.erase(found);
  }

  bool Present(const std::string& name) const { return resources_.contains(name); }

  Network network_;
  std::unordered_map<std::string, std::size_t> resources_;  // present ones only
  std::unordered_map<std::string, std::size_t> tgs_;
  std::unordered_map<std::string, std::size_t> aping_;
  std::vector<bool> resourceGone_;
  std::vector<bool> tgGone_;
  std::unordered_set<std::string> removedNames_;  // their APING lines go with them
};

// Plays the timeline over names only, checking each change against the
// network as it stands at its time.
class TimelineChecker {
 public:
  explicit TimelineChecker(const Network& base) {
    for (const Resource& resource : base.resources) Add(resource);
    for (const TransmissionGroup& tg : base.tgs) tgs_.insert(TgKey(tg.owner, tg.destination, tg.number));
  }

  // The reason the change does not fit, or empty.
  std::string operator()(const Resource& resource) {
    if (const auto found = kinds_.find(resource.name); found != kinds_.end()) {
      if (found->second.kind != resource.kind) return resource.name + " cannot change its kind";
      Remove(resource.name);
    }
    if (!resource.parent.empty()) {
      const bool isLu = resource.kind == ResourceKind::LogicalUnit;
      const auto parent = kinds_.find(resource.parent);
      const char* role = isLu ? "parent " : "server ";
      if (parent == kinds_.end()) return role + resource.parent + " of " + resource.name + " is not present then";
      const ResourceKind kind = parent->second.kind;
      if (kind != ResourceKind::NetworkNode && (!isLu || kind != ResourceKind::EndNode)) {
        return role + resource.parent + " of " + resource.name + " is not a " +
               (isLu ? "network or end node" : "network node");
      }
    }
    Add(resource);
    return Overflow();
  }
  std::string operator()(const TransmissionGroup& tg) {
    for (const std::string* end : {&tg.owner, &tg.destination}) {
      const auto found = kinds_.find(*end);
      if (found == kinds_.end()) return "tg end " + *end + " is not present then";
      if (found->second.kind == ResourceKind::LogicalUnit) return "tg end " + *end + " is an LU, not a node";
    }
    tgs_.insert(TgKey(tg.owner, tg.destination, tg.number));
    return Overflow();
  }
  std::string operator()(const ApingRule&) { return {}; }
  std::string operator()(const TimingChange&) { return {}; }
  std::string operator()(const ResourceRemoval& removal) {
    if (!kinds_.contains(removal.name)) return removal.name + " is not present then";
    Remove(removal.name);
    return {};
  }
  std::string operator()(const TgRemoval& removal) {
    const std::string key = TgKey(removal.owner, removal.destination, removal.number);
    if (tgs_.erase(key) == 0) return "tg " + key + " is not present then";
    return {};
  }

 private:
  struct Entry {
    ResourceKind kind;
    bool inDirectory;
  };

  void Add(const Resource& resource) {
    kinds_.emplace(resource.name, Entry{resource.kind, resource.directory.present});
    nodeRecords_ += HasNodeRecord(resource.kind);
    directory_ += resource.directory.present;
  }
  void Remove(const std::string& name) {
    const auto found = kinds_.find(name);
    nodeRecords_ -= HasNodeRecord(found->second.kind);
    directory_ -= found->second.inDirectory;
    kinds_.erase(found);
  }
  std::string Overflow() const {
    if (nodeRecords_ > kMaxListEntries || directory_ > kMaxListEntries || tgs_.size() > kMaxListEntries) {
      return "a list would exceed " + std::to_string(kMaxListEntries) + " entries";
    }
    return {};
  }

  std::unordered_map<std::string, Entry> kinds_;
  std::unordered_set<std::string> tgs_;
  std::size_t nodeRecords_ = 0;
  std::size_t directory_ = 0;
};

}  // namespace

std::size_t Timeline::StepsAt(std::uint64_t seconds) const {
  const std::uint64_t at = repeatSeconds == 0 ? seconds : seconds % repeatSeconds;
  const auto end = std::partition_point(changes.begin(), changes.end(),
                                        [at](const TimedChange& change) { return change.seconds <= at; });
  return static_cast<std::size_t>(end - changes.begin());
}

Network NetworkAfter(const Network& base, const Timeline& timeline, std::size_t steps) {
  NetworkEditor editor(base);
  steps = std::min(steps, timeline.changes.size());
  for (std::size_t i = 0; i < steps; ++i) std::visit(editor, timeline.changes[i].change);
  return editor.Finish();
}

std::string CheckTimeline(const Network& base, const Timeline& timeline, std::string_view source) {
  if (timeline.changes.empty()) return {};  // most descriptions: no need to index the base
  TimelineChecker checker(base);
  for (const TimedChange& change : timeline.changes) {
    const std::string reason = std::visit(checker, change.change);
    if (!reason.empty()) return std::string(source) + ":" + std::to_string(change.line) + ": " + reason;
  }
  return {};
}

}  // namespace snanode
