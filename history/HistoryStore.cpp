#include "history/HistoryStore.h"

#include <QSqlError>
#include <QVariant>

namespace mapvine {
namespace {

// The stored number of a change kind, and back; 0 for what the history
// never holds, so a damaged row is skipped rather than misread.
int KindNumber(ChangeMark kind) { return static_cast<int>(kind); }

ChangeMark KindFromNumber(int number) {
  switch (number) {
    case 1:
      return ChangeMark::New;
    case 2:
      return ChangeMark::Gone;
    case 3:
      return ChangeMark::WentInactive;
    case 4:
      return ChangeMark::WentActive;
    default:
      return ChangeMark::None;
  }
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

HistoryStore::HistoryStore(const HistoryLocation& location) : db_(location) {}

bool HistoryStore::Open() { return db_.Open(); }

std::optional<std::int64_t> HistoryStore::NetworkId(const NetworkKey& network, bool create) {
  if (create) {
    QSqlQuery insert = db_.Prepare("INSERT INTO networks (net_id, cp_name) VALUES (?, ?) ON CONFLICT DO NOTHING");
    if (!db_.Run(insert, {Text(network.networkId), Text(network.cpName)})) return std::nullopt;
  }
  QSqlQuery select = db_.Prepare("SELECT id FROM networks WHERE net_id = ? AND cp_name = ?");
  if (!db_.Run(select, {Text(network.networkId), Text(network.cpName)})) return std::nullopt;
  if (!select.next()) return create ? std::nullopt : std::optional<std::int64_t>(-1);
  return select.value(0).toLongLong();
}

bool HistoryStore::LoadResources(std::int64_t network) {
  if (resources_.contains(network)) return true;
  QSqlQuery select = db_.Prepare("SELECT id, is_link, name, destination, tg FROM resources WHERE network = ?");
  if (!db_.Run(select, {QVariant::fromValue(network)})) return false;
  auto& known = resources_[network];
  while (select.next()) {
    TopologyChange change;
    change.isLink = select.value(1).toInt() != 0;
    change.name = select.value(2).toString().toStdString();
    change.destinationName = select.value(3).toString().toStdString();
    change.tgNumber = select.value(4).toInt();
    known.emplace(ResourceKey(change), select.value(0).toLongLong());
  }
  return true;
}

std::optional<std::int64_t> HistoryStore::ResourceId(std::int64_t network, const TopologyChange& change) {
  auto& known = resources_[network];
  std::string key = ResourceKey(change);
  if (const auto found = known.find(key); found != known.end()) return found->second;
  // Another program may have added it since this one last looked.
  const std::initializer_list<QVariant> fields = {QVariant::fromValue(network), change.isLink ? 1 : 0,
                                                  Text(change.name), Text(change.destinationName),
                                                  change.tgNumber};
  QSqlQuery insert = db_.Prepare(
      "INSERT INTO resources (network, is_link, name, destination, tg) VALUES (?, ?, ?, ?, ?) "
      "ON CONFLICT DO NOTHING");
  if (!db_.Run(insert, fields)) return std::nullopt;
  QSqlQuery select = db_.Prepare(
      "SELECT id FROM resources WHERE network = ? AND is_link = ? AND name = ? AND destination = ? AND tg = ?");
  if (!db_.Run(select, fields) || !select.next()) return std::nullopt;
  const std::int64_t id = select.value(0).toLongLong();
  addedInTransaction_.emplace_back(network, key);
  known.emplace(std::move(key), id);
  return id;
}

std::optional<std::int64_t> HistoryStore::WriteRefresh(const NetworkKey& network, HistoryTime when,
                                                       const std::vector<TopologyChange>& changes) {
  if (!db_.BeginWrite()) return std::nullopt;
  addedInTransaction_.clear();
  const auto fail = [this]() -> std::optional<std::int64_t> {
    db_.Rollback();
    // What this transaction added is gone again.
    for (const auto& [networkId, key] : addedInTransaction_) resources_[networkId].erase(key);
    addedInTransaction_.clear();
    return std::nullopt;
  };
  const std::optional<std::int64_t> networkId = NetworkId(network, true);
  if (!networkId || !LoadResources(*networkId)) return fail();
  // PostgreSQL's writers of one network take turns, or two claiming the
  // same resources in another order would deadlock. (An SQLite writer has
  // the whole file already.)
  if (db_.IsPostgres()) {
    QSqlQuery turn = db_.Prepare("SELECT id FROM networks WHERE id = ? FOR UPDATE");
    if (!db_.Run(turn, {QVariant::fromValue(*networkId)})) return fail();
  }
  QSqlQuery refresh = db_.Prepare("INSERT INTO refreshes (network, at) VALUES (?, ?) RETURNING id");
  if (!db_.Run(refresh, {QVariant::fromValue(*networkId), QVariant::fromValue(when)}) || !refresh.next()) {
    return fail();
  }
  const std::int64_t refreshId = refresh.value(0).toLongLong();
  refresh.finish();
  // A change goes in only when it is news: later than what the history last
  // said of the resource, and something else. Another program recording
  // the same network saw the same change at its own time; so did a picture
  // reopened from a file that predates it.
  QSqlQuery claim = db_.Prepare(
      "UPDATE resources SET last_kind = ?, last_at = ? "
      "WHERE id = ? AND (last_at IS NULL OR (last_at < ? AND last_kind <> ?)) RETURNING id");
  QSqlQuery insert = db_.Prepare("INSERT INTO changes (refresh, resource, kind) VALUES (?, ?, ?)");
  for (const TopologyChange& change : changes) {
    const std::optional<std::int64_t> resource = ResourceId(*networkId, change);
    if (!resource) return fail();
    const QVariant kind = KindNumber(change.kind);
    const QVariant at = QVariant::fromValue(when);
    if (!db_.Run(claim, {kind, at, QVariant::fromValue(*resource), at, kind})) return fail();
    if (!claim.next()) continue;
    claim.finish();
    if (!db_.Run(insert, {QVariant::fromValue(refreshId), QVariant::fromValue(*resource), kind})) return fail();
  }
  claim.finish();
  insert.finish();
  if (!db_.Commit()) return fail();
  addedInTransaction_.clear();
  return refreshId;
}

bool HistoryStore::ForgetBefore(HistoryTime cutoff) {
  if (!db_.BeginWrite()) return false;
  QSqlQuery changes =
      db_.Prepare("DELETE FROM changes WHERE refresh IN (SELECT id FROM refreshes WHERE at < ?)");
  QSqlQuery refreshes = db_.Prepare("DELETE FROM refreshes WHERE at < ?");
  if (!db_.Run(changes, {QVariant::fromValue(cutoff)}) || !db_.Run(refreshes, {QVariant::fromValue(cutoff)})) {
    db_.Rollback();
    return false;
  }
  return db_.Commit();
}

bool HistoryStore::Acknowledge(const NetworkKey& network, HistoryTime when, const std::vector<std::string>* keys) {
  const std::optional<std::int64_t> networkId = NetworkId(network, false);
  if (!networkId) return false;
  if (*networkId < 0) return true;  // nothing written for it yet
  if (!db_.BeginWrite()) return false;
  if (keys != nullptr && !LoadResources(*networkId)) {
    db_.Rollback();
    return false;
  }
  const QString pending =
      "UPDATE changes SET acknowledged_at = ? WHERE acknowledged_at IS NULL "
      "AND refresh IN (SELECT id FROM refreshes WHERE network = ? AND at <= ?)";
  QSqlQuery update = db_.Prepare(keys ? pending + " AND resource = ?" : pending);
  bool written = true;
  if (keys == nullptr) {
    written = db_.Run(update, {QVariant::fromValue(when), QVariant::fromValue(*networkId), QVariant::fromValue(when)});
  } else {
    const auto& known = resources_[*networkId];
    for (const std::string& key : *keys) {
      const auto found = known.find(key);
      if (found == known.end()) continue;
      written = written && db_.Run(update, {QVariant::fromValue(when), QVariant::fromValue(*networkId),
                                            QVariant::fromValue(when), QVariant::fromValue(found->second)});
    }
  }
  if (!written) {
    db_.Rollback();
    return false;
  }
  return db_.Commit();
}

bool HistoryStore::Read(const HistoryFilter& filter,
                        const std::function<bool(const HistoryRow&, const NetworkKey&)>& visit) {
  // Networks and resources are few beside their changes: read once and
  // looked up by id, they spare each row three joins' worth of text.
  std::unordered_map<std::int64_t, NetworkKey> networks;
  QSqlQuery networkRows = db_.Prepare("SELECT id, net_id, cp_name FROM networks");
  if (!db_.Run(networkRows)) return false;
  while (networkRows.next()) {
    networks[networkRows.value(0).toLongLong()] = {networkRows.value(1).toString().toStdString(),
                                                   networkRows.value(2).toString().toStdString()};
  }
  // Each resource's row is kept whole and only its changing fields are set
  // for each change: a million rows copy no names.
  struct Resource {
    HistoryRow row;
    const NetworkKey* network;
  };
  std::unordered_map<std::int64_t, Resource> resources;
  const QString wanted = QString::fromStdString(filter.resource);
  QSqlQuery resourceRows = db_.Prepare("SELECT id, is_link, name, destination, tg, network FROM resources");
  if (!db_.Run(resourceRows)) return false;
  while (resourceRows.next()) {
    const NetworkKey& network = networks[resourceRows.value(5).toLongLong()];
    if (filter.network && network != *filter.network) continue;
    const bool isLink = resourceRows.value(1).toInt() != 0;
    const QString name = resourceRows.value(2).toString();
    const QString destination = resourceRows.value(3).toString();
    if (!wanted.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) != 0 &&
        !(isLink && destination.compare(wanted, Qt::CaseInsensitive) == 0)) {
      continue;
    }
    Resource& resource = resources[resourceRows.value(0).toLongLong()];
    resource.row.change = {ChangeMark::None, isLink, name.toStdString(), destination.toStdString(),
                           resourceRows.value(4).toInt()};
    resource.network = &network;
  }
  // Every column costs each row its own trip through Qt: the resource, the
  // kind (0 for what the history never holds) and the acknowledgement
  // travel as one number.
  QString sql =
      "SELECT r.at, c.refresh, c.resource * 16 + (CASE WHEN c.kind BETWEEN 1 AND 4 THEN c.kind ELSE 0 END) * 2 + "
      "(CASE WHEN c.acknowledged_at IS NULL THEN 0 ELSE 1 END) "
      "FROM changes c JOIN refreshes r ON r.id = c.refresh WHERE 1 = 1";
  QVariantList values;
  if (filter.since) {
    // Refresh numbers grow with time: the first one in range bounds the
    // changes to read without a walk over older ones.
    sql += " AND c.refresh >= (SELECT COALESCE(MIN(id), 0) FROM refreshes WHERE at >= ?) AND r.at >= ?";
    values << QVariant::fromValue(*filter.since) << QVariant::fromValue(*filter.since);
  }
  if (filter.until) {
    sql += " AND r.at < ?";
    values << QVariant::fromValue(*filter.until);
  }
  if (filter.unacknowledgedOnly) sql += " AND c.acknowledged_at IS NULL";
  // One resource's changes are found through its index, not by a walk
  // over all of them. (Its names, matched above, fit a handful of ids.)
  if (!wanted.isEmpty()) {
    QStringList ids;
    for (const auto& [id, resource] : resources) ids << QString::number(id);
    sql += " AND c.resource IN (" + (ids.isEmpty() ? QStringLiteral("NULL") : ids.join(',')) + ")";
  }
  sql += " ORDER BY c.id";
  QSqlQuery query = db_.Prepare(sql);
  for (int i = 0; i < values.size(); ++i) query.bindValue(i, values[i]);
  if (!db_.Run(query)) return false;
  while (query.next()) {
    const std::int64_t packed = query.value(2).toLongLong();
    // Resources of other networks, or not asked for, are not in the map.
    const auto found = resources.find(packed / 16);
    if (found == resources.end()) continue;
    HistoryRow& row = found->second.row;
    row.change.kind = KindFromNumber(static_cast<int>(packed % 16 / 2));
    if (row.change.kind == ChangeMark::None) continue;
    row.acknowledged = packed % 2 != 0;
    row.when = query.value(0).toLongLong();
    row.refresh = query.value(1).toLongLong();
    if (!visit(row, *found->second.network)) break;
  }
  if (query.lastError().isValid()) {
    db_.Fail(query.lastError());
    return false;
  }
  return true;
}

}  // namespace mapvine
