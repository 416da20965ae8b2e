#include "snanode/LiveNode.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <thread>

#include "protocol/SnaWire.h"
#include "snanode/NetworkParser.h"
#include "snanode/SampleNetwork.h"

namespace snanode {
namespace {

// Far above any description whose lists fit the 16-bit totals.
constexpr std::streamoff kMaxDescriptionBytes = 64 * 1024 * 1024;
constexpr std::uint32_t kHeaderLength = snawire::kSecondaryRc + 4;
// A hung verb looks this often whether the description changed.
constexpr auto kHangPoll = std::chrono::milliseconds(20);

// The verbs whose requests come as a probe and then batches or lookups.
std::optional<std::size_t> ListVerb(std::uint16_t opcode) {
  switch (opcode) {
    case snawire::kOpNodeTopologyQuery: return 0;
    case snawire::kOpTgTopologyQuery: return 1;
    case snawire::kOpDirectoryQuery: return 2;
    case snawire::kOpDirectoryLuQuery: return 3;
    default: return std::nullopt;
  }
}

// $SNANODE_TIME, when it holds a whole number of seconds, is the clock:
// tests and demonstrations step the timeline without waiting for it.
std::optional<std::uint64_t> SimulatedSeconds() {
  const char* text = std::getenv("SNANODE_TIME");
  if (text == nullptr || *text == '\0') return std::nullopt;
  const std::string_view view(text);
  std::uint64_t seconds = 0;
  const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), seconds);
  if (ec != std::errc() || end != view.data() + view.size()) return std::nullopt;
  return seconds;
}

std::optional<std::string> ReadDescription(const std::string& path, std::string& problem) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    problem = path + ": cannot open the network description";
    return std::nullopt;
  }
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxDescriptionBytes) {
    problem = path + ": network description unreadable or larger than 64 MiB";
    return std::nullopt;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(text.data(), size)) {
    problem = path + ": cannot read the network description";
    return std::nullopt;
  }
  return text;
}

}  // namespace

LiveNode::LiveNode(std::string path) : path_(std::move(path)) {}

// Safe to call from several threads at once: the choice of network is
// made under the lock, the waiting and the answering outside it.
void LiveNode::Call(void* block, std::uint32_t length) {
  auto* bytes = static_cast<std::uint8_t*>(block);
  std::shared_ptr<const SimulatedNode> node = NodeFor(bytes, length);
  for (VerbTiming timing = node->TimingOf(block, length); timing.hang; timing = node->TimingOf(block, length)) {
    node = NextNetwork(node, bytes);
  }
  if (const std::uint32_t delay = node->TimingOf(block, length).delayMs; delay > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
  }
  node->Call(block, length);
  // A refused request ends its query: no batch follows it, so the next
  // probe of that verb starts a new query and sees the network as it is
  // then, not the one the refused request saw (a node that was not started
  // would otherwise answer one more probe as not started).
  if (bytes == nullptr || length < kHeaderLength || snawire::GetU16(bytes, snawire::kPrimaryRc) == snawire::kRcOk) return;
  if (const std::optional<std::size_t> verb = ListVerb(snawire::GetU16(bytes, snawire::kOpcode))) {
    const std::lock_guard lock(mutex_);
    verbs_[*verb].afterProbe = false;
  }
}

std::shared_ptr<const SimulatedNode> LiveNode::NextNetwork(const std::shared_ptr<const SimulatedNode>& served,
                                                           const std::uint8_t* block) {
  while (true) {
    std::this_thread::sleep_for(kHangPoll);
    const std::lock_guard lock(mutex_);
    std::shared_ptr<const SimulatedNode> now = Current();
    if (now == served) continue;
    // The batches after a hung probe come from the network it answered from.
    if (const std::optional<std::size_t> verb = ListVerb(snawire::GetU16(block, snawire::kOpcode))) {
      if (verbs_[*verb].node == served) verbs_[*verb].node = now;
    }
    return now;
  }
}

std::shared_ptr<const SimulatedNode> LiveNode::NodeFor(const std::uint8_t* block, std::uint32_t length) {
  const std::lock_guard lock(mutex_);
  if (!firstAnswer_) firstAnswer_ = std::chrono::steady_clock::now();
  // Too short to say what it asks: the node refuses it whatever it serves.
  if (block == nullptr || length < kHeaderLength) return Current();
  const std::optional<std::size_t> verb = ListVerb(snawire::GetU16(block, snawire::kOpcode));
  if (!verb || length <= snawire::kListOptions) return Current();

  VerbView& view = verbs_[*verb];
  const bool probe =
      block[snawire::kListOptions] == snawire::kListFromStart && snawire::GetU16(block, snawire::kEntryCount) == 1;
  if (probe && !view.afterProbe) {
    view.node = Current();
    view.afterProbe = true;
  } else {
    if (!view.node) view.node = Current();
    view.afterProbe = false;
  }
  return view.node;
}

std::shared_ptr<const SimulatedNode> LiveNode::Current() {
  ReloadIfChanged();
  if (!base_) {
    // Nothing good was ever read: answer as if the node were not loaded
    // rather than serve part of a network.
    if (!served_) {
      served_ = std::make_shared<const SimulatedNode>(SimulatedNode::Failing(snawire::kRcCommSubsystemNotLoaded, 0));
    }
    return served_;
  }
  const std::size_t steps = timeline_.StepsAt(Seconds());
  if (!served_ || steps != servedSteps_) {
    served_ = std::make_shared<const SimulatedNode>(NetworkAfter(*base_, timeline_, steps));
    servedSteps_ = steps;
  }
  return served_;
}

std::uint64_t LiveNode::Seconds() const {
  if (const std::optional<std::uint64_t> simulated = SimulatedSeconds()) return *simulated;
  const auto elapsed = std::chrono::steady_clock::now() - *firstAnswer_;
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
}

void LiveNode::ReloadIfChanged() {
  if (path_.empty()) {
    if (!loadedStamp_) Load(FileStamp{});
    return;
  }
  // One stat per query: cheap enough to ask every time.
  struct stat status {};
  FileStamp stamp;
  if (::stat(path_.c_str(), &status) == 0) {
    stamp.modified = std::int64_t{status.st_mtim.tv_sec} * 1000000000 + status.st_mtim.tv_nsec;
    stamp.size = status.st_size;
  }
  if (loadedStamp_ == stamp) return;
  Load(stamp);
}

// The stamp is kept whatever the outcome, so a broken file is read and
// reported once, not again on every query.
void LiveNode::Load(const FileStamp& stamp) {
  loadedStamp_ = stamp;
  try {
    std::string problem;
    std::optional<std::string> text;
    if (path_.empty()) {
      text = std::string(SampleNetworkText());
    } else {
      text = ReadDescription(path_, problem);
    }
    if (!text) return Report(problem);
    ParseResult parsed = ParseNetwork(*text, path_.empty() ? "sample.net" : path_);
    if (!parsed.network) return Report(parsed.error);
    base_ = std::move(parsed.network);
    timeline_ = std::move(parsed.timeline);
    served_.reset();
  } catch (const std::exception& error) {
    Report(std::string("simulated node: ") + error.what());
  }
}

void LiveNode::Report(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

}  // namespace snanode
