#pragma once

// The node the library exports: serves a described network as it stands on
// the node's clock, and reads the description again when its file changes.
//
// Changes are taken in only where a query starts: at a probe (a request
// for the first entry of a list) and at every APING. The other requests
// of a verb (its batches and lookups) keep the network its last probe saw,
// so a change never lands between a probe and the batches that follow it.
// A probe right after a probe of the same verb is a one-entry batch, and
// keeps it too, unless the node refused the first: a refused request ends
// its query.
//
// A request the description delays waits that long before it is answered;
// a hung one waits until the network served changes, and is then answered
// from the changed one.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "snanode/Network.h"
#include "snanode/SimulatedNode.h"
#include "snanode/Timeline.h"

namespace snanode {

class LiveNode {
 public:
  // Serves the file at `path`, or the built-in sample when it is empty.
  explicit LiveNode(std::string path);

  void Call(void* block, std::uint32_t length);

 private:
  struct FileStamp {
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t size = -1;
    bool operator==(const FileStamp&) const = default;
  };
  struct VerbView {
    std::shared_ptr<const SimulatedNode> node;
    bool afterProbe = false;
  };

  std::shared_ptr<const SimulatedNode> NodeFor(const std::uint8_t* block, std::uint32_t length);
  std::shared_ptr<const SimulatedNode> Current();
  // Waits until the network served is no longer `served` (the file or the
  // clock moved on) and answers the new one.
  std::shared_ptr<const SimulatedNode> NextNetwork(const std::shared_ptr<const SimulatedNode>& served,
                                                  const std::uint8_t* block);
  void ReloadIfChanged();
  void Load(const FileStamp& stamp);
  void Report(const std::string& message);
  std::uint64_t Seconds() const;

  const std::string path_;
  std::mutex mutex_;
  std::optional<FileStamp> loadedStamp_;    // of the description in use, or of the last one refused
  std::optional<Network> base_;             // the last good description
  Timeline timeline_;
  std::size_t servedSteps_ = 0;
  std::shared_ptr<const SimulatedNode> served_;  // base_ after servedSteps_ changes
  std::optional<std::chrono::steady_clock::time_point> firstAnswer_;
  std::array<VerbView, 4> verbs_;  // node topology, TG topology, directory, LU detail
};

}  // namespace snanode
