#include "snanode/NetworkParser.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "protocol/SnaWire.h"
#include "snanode/DescriptionLine.h"
#include "snanode/NameCodec.h"

namespace snanode {
namespace {

struct Flag {
  std::string_view word;
  std::uint8_t bit;
};

constexpr Flag kNodeStatusFlags[] = {
    {"congested", snawire::kNodeCongested},
    {"irr-depleted", snawire::kNodeIrrDepleted},
    {"err-depleted", snawire::kNodeErrDepleted},
    {"quiescing", snawire::kNodeQuiescing},
};
constexpr Flag kFunctionFlags[] = {
    {"border-node", snawire::kFunctionBorderNode}, {"isr", snawire::kFunctionIsr},
    {"rtp-tower", snawire::kFunctionRtpTower},     {"hpr", snawire::kFunctionHpr},
    {"cds", snawire::kFunctionCds},                {"gateway", snawire::kFunctionGateway},
};
constexpr Flag kTgFlags[] = {
    {"operative", snawire::kTgOperative}, {"cp-cp", snawire::kTgCpCpSessions}, {"hpr", snawire::kTgHpr},
    {"rtp", snawire::kTgRtp},             {"quiescing", snawire::kTgQuiescing},
};

bool ApplyFlag(std::span<const Flag> flags, std::string_view word, std::uint8_t& bits) {
  for (const Flag& flag : flags) {
    if (flag.word == word) {
      bits |= flag.bit;
      return true;
    }
  }
  return false;
}

// Decimal, or hexadecimal with a 0x prefix; the whole word must be the number.
template <typename T>
bool ParseNumber(std::string_view word, T& out) {
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    word.remove_prefix(2);
    base = 16;
  }
  if (word.empty()) return false;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out, base);
  return ec == std::errc() && end == word.data() + word.size();
}

bool IsPrintable(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

// "key=value" split; an empty key when the word has no '='.
struct Option {
  std::string_view key;
  std::string_view value;
};
Option SplitOption(std::string_view word) {
  const std::size_t equals = word.find('=');
  if (equals == std::string_view::npos) return {};
  return {word.substr(0, equals), word.substr(equals + 1)};
}

const char* KindWord(ResourceKind kind) {
  switch (kind) {
    case ResourceKind::NetworkNode: return "nn";
    case ResourceKind::EndNode: return "en";
    case ResourceKind::ConnectionNetwork: return "cn";
    case ResourceKind::LogicalUnit: return "lu";
    case ResourceKind::OtherNode: return "node";
  }
  return "?";
}

class DescriptionParser {
 public:
  explicit DescriptionParser(std::string_view source) : source_(source) {}

  ParseResult Run(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      ++line_;
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      if (!ParseLine(text.substr(start, end - start))) return Failure();
      start = end + 1;
    }
    if (!ResolveReferences()) return Failure();
    std::stable_sort(timeline_.changes.begin(), timeline_.changes.end(),
                     [](const TimedChange& a, const TimedChange& b) { return a.seconds < b.seconds; });
    error_ = CheckTimeline(network_, timeline_, source_);
    if (!error_.empty()) return Failure();
    return ParseResult{std::move(network_), std::move(timeline_), {}};
  }

 private:
  ParseResult Failure() const { return ParseResult{std::nullopt, {}, error_}; }

  bool Fail(std::size_t line, const std::string& reason) {
    error_ = std::string(source_) + ":" + std::to_string(line) + ": " + reason;
    return false;
  }
  bool Fail(const std::string& reason) { return Fail(line_, reason); }

  bool ParseLine(std::string_view text) {
    const SplitLine split = SplitDescriptionLine(text);
    if (!split.error.empty()) return Fail(split.error);
    const std::vector<std::string_view>& words = split.words;
    if (words.empty()) return true;
    const std::string_view statement = words[0];
    const std::span<const std::string_view> rest(words.data() + 1, words.size() - 1);
    if (statement == "at") return TimedStatement(rest);
    if (const std::optional<ResourceKind> kind = KindOfStatement(statement)) {
      Resource resource;
      return ReadResource(*kind, rest, resource) && AddResource(std::move(resource));
    }
    if (statement == "tg") {
      TransmissionGroup tg;
      return ReadTg(rest, tg) && AddTg(std::move(tg));
    }
    if (statement == "aping") {
      ApingRule rule;
      return ReadAping(rest, rule) && AddAping(std::move(rule));
    }
    if (statement == "node-state") return NodeStateStatement(rest);
    if (statement == "repeat") return RepeatStatement(rest);
    if (statement == "fail") return FailStatement(rest);
    if (statement == "long-entries") return LongEntriesStatement(rest);
    if (statement == "flow-reduction") return HabitFlag(rest, network_.habits.flowReduction, statement);
    if (statement == "cn-silent") return HabitFlag(rest, network_.habits.silentConnectionNetworks, statement);
    if (statement == "delay" || statement == "hang") {
      TimingChange change;
      if (!ReadTiming(statement, rest, change)) return false;
      network_.timing[static_cast<std::size_t>(change.verb)] = change.timing;
      return true;
    }
    return Fail("unknown statement '" + std::string(statement) +
                "' (expected nn, en, cn, lu, node, tg, aping, at, repeat, node-state, fail, long-entries, "
                "flow-reduction, cn-silent, delay or hang)");
  }

  static std::optional<ResourceKind> KindOfStatement(std::string_view statement) {
    if (statement == "nn") return ResourceKind::NetworkNode;
    if (statement == "en") return ResourceKind::EndNode;
    if (statement == "cn") return ResourceKind::ConnectionNetwork;
    if (statement == "lu") return ResourceKind::LogicalUnit;
    if (statement == "node") return ResourceKind::OtherNode;
    return std::nullopt;
  }

  // "at SECONDS" followed by a resource, tg or aping statement, or by
  // "remove NAME" / "remove tg OWNER DEST N".
  bool TimedStatement(std::span<const std::string_view> words) {
    TimedChange timed;
    timed.line = line_;
    if (words.size() < 2 || !ParseNumber(words[0], timed.seconds)) {
      return Fail("at needs a time in seconds and a statement");
    }
    if (++timedCount_ > kMaxTimedChanges) return Fail("more than " + std::to_string(kMaxTimedChanges) + " timed statements");
    const std::string_view statement = words[1];
    const std::span<const std::string_view> rest = words.subspan(2);
    bool read = false;
    if (const std::optional<ResourceKind> kind = KindOfStatement(statement)) {
      read = ReadResource(*kind, rest, timed.change.emplace<Resource>());
    } else if (statement == "tg") {
      read = ReadTg(rest, timed.change.emplace<TransmissionGroup>());
    } else if (statement == "aping") {
      read = ReadAping(rest, timed.change.emplace<ApingRule>());
    } else if (statement == "remove") {
      read = ReadRemoval(rest, timed.change);
    } else if (statement == "delay" || statement == "hang") {
      read = ReadTiming(statement, rest, timed.change.emplace<TimingChange>());
    } else {
      return Fail("at takes nn, en, cn, lu, node, tg, aping, remove, delay or hang, not '" + std::string(statement) +
                  "'");
    }
    if (!read) return false;
    timeline_.changes.push_back(std::move(timed));
    return true;
  }

  bool ReadRemoval(std::span<const std::string_view> words, Change& change) {
    if (words.size() == 1) {
      if (!CheckName(words[0])) return false;
      change = ResourceRemoval{std::string(words[0])};
      return true;
    }
    if (words.size() == 4 && words[0] == "tg") {
      TransmissionGroup tg;
      if (!ReadTg(words.subspan(1), tg)) return false;
      change = TgRemoval{tg.owner, tg.destination, tg.number};
      return true;
    }
    return Fail("remove takes a name, or tg OWNER DEST N");
  }

  bool RepeatStatement(std::span<const std::string_view> words) {
    if (words.size() != 1 || !ParseNumber(words[0], timeline_.repeatSeconds) || timeline_.repeatSeconds == 0) {
      return Fail("repeat takes the length of the timeline in seconds, at least 1");
    }
    return true;
  }

  // "fail topology|directory P S", "fail tg-batch N P S", "fail lu-lookup NAME P S".
  bool FailStatement(std::span<const std::string_view> words) {
    VerbFailure failure;
    std::span<const std::string_view> codes;
    if (words.size() == 3 && (words[0] == "topology" || words[0] == "directory")) {
      failure.verb = words[0] == "topology" ? FailingVerb::Topology : FailingVerb::Directory;
      codes = words.subspan(1);
    } else if (words.size() == 4 && words[0] == "tg-batch") {
      failure.verb = FailingVerb::TgBatch;
      if (!ParseNumber(words[1], failure.tgRecord) || failure.tgRecord == 0) {
        return Fail("'" + std::string(words[1]) + "' is not a TG record number from 1");
      }
      codes = words.subspan(2);
    } else if (words.size() == 4 && words[0] == "lu-lookup") {
      failure.verb = FailingVerb::LuLookup;
      if (!CheckName(words[1])) return false;
      failure.luName = std::string(words[1]);
      codes = words.subspan(2);
    } else {
      return Fail("fail takes topology, directory, tg-batch N or lu-lookup NAME, then primary and secondary codes");
    }
    if (!ReadReturnCodes(codes, failure.primary, failure.secondary)) return false;
    network_.habits.failures.push_back(std::move(failure));
    return true;
  }

  bool ReadReturnCodes(std::span<const std::string_view> words, std::uint16_t& primary, std::uint32_t& secondary) {
    if (!ParseNumber(words[0], primary) || primary == snawire::kRcOk) {
      return Fail("'" + std::string(words[0]) + "' is not a non-zero 16-bit primary return code");
    }
    if (!ParseNumber(words[1], secondary)) {
      return Fail("'" + std::string(words[1]) + "' is not a 32-bit secondary return code");
    }
    return true;
  }

  bool LongEntriesStatement(std::span<const std::string_view> words) {
    std::uint16_t bytes = 0;
    if (words.size() != 1 || !ParseNumber(words[0], bytes) || bytes == 0 || bytes > kMaxExtraEntryBytes) {
      return Fail("long-entries takes a number of extra bytes, 1 to " + std::to_string(kMaxExtraEntryBytes));
    }
    network_.habits.extraEntryBytes = bytes;
    return true;
  }

  bool HabitFlag(std::span<const std::string_view> words, bool& flag, std::string_view statement) {
    if (!words.empty()) return Fail(std::string(statement) + " takes no words");
    flag = true;
    return true;
  }

  bool CheckName(std::string_view name) {
    if (IsValidName(name)) return true;
    return Fail("invalid name '" + std::string(name) +
                "' (expected NETID.NAME, each part 1-8 of A-Z 0-9 $ # @)");
  }

  // Each list travels with a 16-bit total, so a description that would push
  // one past 65535 entries is refused rather than served with a wrong total.
  bool CountEntry(std::size_t& count, const char* list) {
    if (++count <= kMaxListEntries) return true;
    return Fail(std::string("the ") + list + " would exceed " + std::to_string(kMaxListEntries) + " entries");
  }

  bool NodeStateStatement(std::span<const std::string_view> words) {
    if (stateLine_ != 0) return Fail("node-state repeated (first on line " + std::to_string(stateLine_) + ")");
    stateLine_ = line_;
    if (words.size() != 1) return Fail("node-state takes one word: active, not-started or not-loaded");
    if (words[0] == "active") {
      network_.state = NodeState::Active;
    } else if (words[0] == "not-started") {
      network_.state = NodeState::NotStarted;
    } else if (words[0] == "not-loaded") {
      network_.state = NodeState::NotLoaded;
    } else {
      return Fail("unknown node-state '" + std::string(words[0]) + "' (expected active, not-started or not-loaded)");
    }
    return true;
  }

  bool DirectoryOption(const Option& option, DirectoryInfo& directory, bool& recognised) {
    recognised = true;
    if (option.key == "entry") {
      if (option.value == "cached") {
        directory.entryType = EntryType::Cached;
      } else if (option.value == "registered") {
        directory.entryType = EntryType::Registered;
      } else if (option.value == "local") {
        directory.entryType = EntryType::Local;
      } else {
        return Fail("unknown entry type '" + std::string(option.value) + "' (expected cached, registered or local)");
      }
    } else if (option.key == "location") {
      if (option.value == "local") {
        directory.location = Location::Local;
      } else if (option.value == "attached") {
        directory.location = Location::AttachedEndNode;
      } else if (option.value == "cross-domain") {
        directory.location = Location::CrossDomain;
      } else {
        return Fail("unknown location '" + std::string(option.value) + "' (expected local, attached or cross-domain)");
      }
    } else if (option.key == "desc") {
      const std::string_view text = Unquote(option.value);
      if (text.size() > snawire::kDirDescriptionLength) return Fail("description longer than 16 characters");
      if (!IsPrintable(text) || text.find('"') != std::string_view::npos) {
        return Fail("description must be printable text without quotes");
      }
      directory.description = std::string(text);
    } else {
      recognised = false;
    }
    return true;
  }

  bool ReadResource(ResourceKind kind, std::span<const std::string_view> words, Resource& resource) {
    const std::string kindWord = KindWord(kind);
    if (words.empty()) return Fail(kindWord + " needs a name");
    if (!CheckName(words[0])) return false;
    resource.name = std::string(words[0]);
    resource.kind = kind;
    resource.directory.present = kind == ResourceKind::EndNode || kind == ResourceKind::LogicalUnit;
    resource.directory.entryType = kind == ResourceKind::NetworkNode ? EntryType::Local : EntryType::Registered;
    resource.directory.location = kind == ResourceKind::EndNode ? Location::AttachedEndNode : Location::Local;
    const bool carriesNodeRecord = kind != ResourceKind::EndNode && kind != ResourceKind::LogicalUnit;
    const bool carriesDirectory = kind != ResourceKind::ConnectionNetwork && kind != ResourceKind::OtherNode;

    std::unordered_set<std::string_view> keysSeen;
    for (const std::string_view word : words.subspan(1)) {
      if (carriesNodeRecord && ApplyFlag(kNodeStatusFlags, word, resource.status)) continue;
      if (kind == ResourceKind::NetworkNode && ApplyFlag(kFunctionFlags, word, resource.functions)) continue;
      if (kind == ResourceKind::NetworkNode && word == "directory") {
        resource.directory.present = true;
        continue;
      }
      const Option option = SplitOption(word);
      if (option.key.empty()) return Fail("unknown word '" + std::string(word) + "' for " + kindWord);
      if (!keysSeen.insert(option.key).second) return Fail(std::string(option.key) + "= given twice");
      bool recognised = false;
      if (carriesDirectory && !DirectoryOption(option, resource.directory, recognised)) return false;
      if (recognised) {
        resource.directory.present = true;
        continue;
      }
      if (kind == ResourceKind::OtherNode && option.key == "type") {
        if (!ParseNumber(option.value, resource.otherType) || resource.otherType == snawire::kNodeTypeNetworkNode ||
            resource.otherType == snawire::kNodeTypeConnectionNetwork) {
          return Fail("node type '" + std::string(option.value) + "' is not 0 to 255 other than 2 (nn) or 4 (cn)");
        }
        continue;
      }
      const bool parentKey = (kind == ResourceKind::LogicalUnit && option.key == "parent") ||
                             (kind == ResourceKind::EndNode && option.key == "server");
      if (!parentKey) return Fail("unknown word '" + std::string(word) + "' for " + kindWord);
      if (!CheckName(option.value)) return false;
      resource.parent = std::string(option.value);
    }
    if (kind == ResourceKind::LogicalUnit && resource.parent.empty()) return Fail("lu " + resource.name + " needs parent=");
    if (kind == ResourceKind::OtherNode && !keysSeen.contains("type")) return Fail("node " + resource.name + " needs type=");
    return true;
  }

  bool AddResource(Resource resource) {
    const bool carriesNodeRecord = resource.kind != ResourceKind::EndNode && resource.kind != ResourceKind::LogicalUnit;
    if (const auto found = nameIndex_.find(resource.name); found != nameIndex_.end()) {
      return Fail("duplicate name " + resource.name + " (first on line " +
                  std::to_string(resourceLines_[found->second]) + ")");
    }
    if (carriesNodeRecord && !CountEntry(nodeListSize_, "node list")) return false;
    if (resource.directory.present && !CountEntry(directorySize_, "directory")) return false;
    nameIndex_.emplace(resource.name, network_.resources.size());
    network_.resources.push_back(std::move(resource));
    resourceLines_.push_back(line_);
    return true;
  }

  bool ReadTg(std::span<const std::string_view> words, TransmissionGroup& tg) {
    if (words.size() < 3) return Fail("tg needs owner, destination and TG number");
    if (!CheckName(words[0]) || !CheckName(words[1])) return false;
    tg.owner = std::string(words[0]);
    tg.destination = std::string(words[1]);
    if (tg.owner == tg.destination) return Fail("tg from " + tg.owner + " to itself");
    unsigned number = 0;
    if (!ParseNumber(words[2], number) || number < 1 || number > 255) {
      return Fail("TG number '" + std::string(words[2]) + "' is not 1 to 255");
    }
    tg.number = static_cast<std::uint8_t>(number);
    for (const std::string_view word : words.subspan(3)) {
      if (!ApplyFlag(kTgFlags, word, tg.status)) return Fail("unknown word '" + std::string(word) + "' for tg");
    }
    return true;
  }

  bool AddTg(TransmissionGroup tg) {
    const unsigned number = tg.number;
    const std::string key = tg.owner + ' ' + tg.destination + ' ' + std::to_string(number);
    const auto [found, inserted] = tgLines_.emplace(key, line_);
    if (!inserted) return Fail("duplicate tg " + key + " (first on line " + std::to_string(found->second) + ")");
    if (!CountEntry(tgListSize_, "TG list")) return false;
    tgOrder_.push_back(line_);
    network_.tgs.push_back(std::move(tg));
    return true;
  }

  // "delay VERB MS" (which also ends a hang) or "hang VERB".
  bool ReadTiming(std::string_view statement, std::span<const std::string_view> words, TimingChange& change) {
    static constexpr std::pair<std::string_view, TimedVerb> kVerbs[] = {
        {"topology", TimedVerb::Topology}, {"directory", TimedVerb::Directory}, {"tg-batch", TimedVerb::TgBatch},
        {"lu-lookup", TimedVerb::LuLookup}, {"aping", TimedVerb::Aping}};
    const std::size_t expected = statement == "delay" ? 2 : 1;
    const auto* verb = words.empty() ? std::end(kVerbs)
                                     : std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                                    [&](const auto& v) { return v.first == words[0]; });
    if (words.size() != expected || verb == std::end(kVerbs)) {
      return Fail(std::string(statement) + " takes topology, directory, tg-batch, lu-lookup or aping" +
                  (expected == 2 ? ", then milliseconds" : ""));
    }
    change.verb = verb->second;
    change.timing.hang = statement == "hang";
    if (expected == 2 && !ReadDelay(words[1], change.timing.delayMs)) return false;
    return true;
  }

  bool ReadDelay(std::string_view word, std::uint32_t& milliseconds) {
    if (!ParseNumber(word, milliseconds) || milliseconds > kMaxDelayMs) {
      return Fail("'" + std::string(word) + "' is not a delay in ms from 0 to " + std::to_string(kMaxDelayMs));
    }
    return true;
  }

  bool ReadAping(std::span<const std::string_view> words, ApingRule& rule) {
    // A last word delay=MS makes this partner answer that much later.
    if (!words.empty() && words.back().starts_with("delay=")) {
      if (!ReadDelay(words.back().substr(6), rule.outcome.delayMs)) return false;
      words = words.first(words.size() - 1);
    }
    if (words.size() < 2) return Fail("aping needs a partner and ok or fail");
    if (!CheckName(words[0])) return false;
    rule.partner = std::string(words[0]);
    ApingOutcome& outcome = rule.outcome;
    if (words[1] == "ok") {
      if (words.size() != 6) return Fail("aping ok takes four times in ms: allocate min avg max");
      std::uint32_t* const times[] = {&outcome.allocateMs, &outcome.minimumMs, &outcome.averageMs, &outcome.maximumMs};
      for (std::size_t i = 0; i < 4; ++i) {
        if (!ParseNumber(words[2 + i], *times[i])) return Fail("'" + std::string(words[2 + i]) + "' is not a time in ms");
      }
      if (outcome.minimumMs > outcome.averageMs || outcome.averageMs > outcome.maximumMs) {
        return Fail("aping times need min <= avg <= max");
      }
    } else if (words[1] == "fail") {
      if (words.size() != 4) return Fail("aping fail takes a primary and a secondary return code");
      outcome.answers = false;
      if (!ReadReturnCodes(words.subspan(2), outcome.primary, outcome.secondary)) return false;
    } else {
      return Fail("aping expects ok or fail, not '" + std::string(words[1]) + "'");
    }
    return true;
  }

  bool AddAping(ApingRule rule) {
    const auto [found, inserted] = apingLines_.emplace(rule.partner, line_);
    if (!inserted) return Fail("aping for " + rule.partner + " repeated (first on line " + std::to_string(found->second) + ")");
    if (!CountEntry(apingCount_, "aping table")) return false;
    network_.aping.push_back(std::move(rule));
    return true;
  }

  // References may point forward, so they are checked once every line is
  // read; the error reported is the one on the earliest line.
  bool ResolveReferences() {
    std::size_t worstLine = std::numeric_limits<std::size_t>::max();
    std::string reason;
    const auto consider = [&](std::size_t line, std::string text) {
      if (line < worstLine) {
        worstLine = line;
        reason = std::move(text);
      }
    };
    for (std::size_t i = 0; i < network_.resources.size(); ++i) {
      const Resource& resource = network_.resources[i];
      if (resource.parent.empty()) continue;
      const Resource* parent = Find(resource.parent);
      const bool isLu = resource.kind == ResourceKind::LogicalUnit;
      const char* role = isLu ? "parent " : "server ";
      if (parent == nullptr) {
        consider(resourceLines_[i], role + resource.parent + " of " + resource.name + " is not defined");
      } else if (!isLu && parent->kind != ResourceKind::NetworkNode) {
        consider(resourceLines_[i], "server " + resource.parent + " of " + resource.name + " is not a network node");
      } else if (isLu && parent->kind != ResourceKind::NetworkNode && parent->kind != ResourceKind::EndNode) {
        consider(resourceLines_[i], "parent " + resource.parent + " of " + resource.name + " is not a network or end node");
      }
    }
    for (std::size_t i = 0; i < network_.tgs.size(); ++i) {
      for (const std::string* end : {&network_.tgs[i].owner, &network_.tgs[i].destination}) {
        const Resource* node = Find(*end);
        if (node == nullptr) {
          consider(tgOrder_[i], "tg end " + *end + " is not defined");
        } else if (node->kind == ResourceKind::LogicalUnit) {
          consider(tgOrder_[i], "tg end " + *end + " is an LU, not a node");
        }
      }
    }
    if (reason.empty()) return true;
    return Fail(worstLine, reason);
  }

  const Resource* Find(const std::string& name) const {
    const auto found = nameIndex_.find(name);
    return found == nameIndex_.end() ? nullptr : &network_.resources[found->second];
  }

  std::string_view source_;
  std::size_t line_ = 0;
  std::string error_;
  Network network_;
  std::size_t stateLine_ = 0;
  std::size_t nodeListSize_ = 0;
  std::size_t directorySize_ = 0;
  std::size_t tgListSize_ = 0;
  std::size_t apingCount_ = 0;
  std::size_t timedCount_ = 0;
  Timeline timeline_;
  std::vector<std::size_t> resourceLines_;  // line of each resource, same order
  std::vector<std::size_t> tgOrder_;        // line of each TG, same order
  std::unordered_map<std::string, std::size_t> nameIndex_;
  std::unordered_map<std::string, std::size_t> tgLines_;
  std::unordered_map<std::string, std::size_t> apingLines_;
};

}  // namespace

ParseResult ParseNetwork(std::string_view text, std::string_view sourceName) {
  return DescriptionParser(sourceName).Run(text);
}

}  // namespace snanode
