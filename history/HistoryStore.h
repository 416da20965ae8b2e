#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "history/HistoryDatabase.h"
#include "history/HistoryRow.h"

namespace mapvine {

// Which rows a reader wants; every bound is optional.
struct HistoryFilter {
  std::optional<NetworkKey> network;
  std::optional<HistoryTime> since;  // from this time on
  std::optional<HistoryTime> until;  // before this time
  std::string resource;              // a node's name, or either end of a link
  bool unacknowledgedOnly = false;
};

// The history of changes kept in a database: one row per change, each
// belonging to a refresh of one network. A refresh is written in one
// transaction, so a reader (or a program started after a crash) finds
// whole refreshes only. Use it on one thread.
class HistoryStore {
 public:
  explicit HistoryStore(const HistoryLocation& location);

  // Connects and migrates. False with Problem() set when it cannot.
  bool Open();
  const HistoryProblem& Problem() const { return db_.Problem(); }
  const HistoryLocation& Location() const { return db_.Location(); }

  // Writes one refresh's changes (in the order given), all or none, but
  // leaves out what the history already holds: a change no later than the
  // resource's latest one, or of the same kind (another program recording
  // the same network wrote it). The refresh's number, or none on failure.
  std::optional<std::int64_t> WriteRefresh(const NetworkKey& network, HistoryTime when,
                                           const std::vector<TopologyChange>& changes);
  // Forgets the refreshes before `cutoff` and their changes.
  bool ForgetBefore(HistoryTime cutoff);
  // Marks the changes of `network` up to `when` acknowledged: all of them,
  // or those of the resources named in `keys` (ResourceKey texts).
  bool Acknowledge(const NetworkKey& network, HistoryTime when, const std::vector<std::string>* keys = nullptr);

  // Calls `visit` on every row the filter lets through, oldest first (the
  // order they were written in); it answers false to stop. False when the
  // database failed.
  bool Read(const HistoryFilter& filter,
            const std::function<bool(const HistoryRow&, const NetworkKey&)>& visit);

 private:
  std::optional<std::int64_t> NetworkId(const NetworkKey& network, bool create);
  std::optional<std::int64_t> ResourceId(std::int64_t network, const TopologyChange& change);
  bool LoadResources(std::int64_t network);

  HistoryDatabase db_;
  // Resource ids by network and ResourceKey, as far as this program knows them.
  std::unordered_map<std::int64_t, std::unordered_map<std::string, std::int64_t>> resources_;
  std::vector<std::pair<std::int64_t, std::string>> addedInTransaction_;
};

}  // namespace mapvine
