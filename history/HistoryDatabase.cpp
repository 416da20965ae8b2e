#include "history/HistoryDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <atomic>
#include <vector>

namespace mapvine {
namespace {

// How long an SQLite writer waits for another program's write to end.
constexpr int kBusyTimeoutMs = 5000;
// Any number will do, as long as it stays the same: PostgreSQL programs
// migrating one history take this lock in turn.
constexpr qint64 kMigrationLock = 0x4d61707669;

// Schema version N is kMigrations[N - 1]. "{id}" and "{int64}" are spelled
// for each database. Change kinds are stored as numbers: 1 new, 2 gone,
// 3 went inactive, 4 went active.
const std::vector<std::vector<const char*>> kMigrations = {
    {
        "CREATE TABLE networks (id {id}, net_id TEXT NOT NULL, cp_name TEXT NOT NULL, "
        "UNIQUE (net_id, cp_name))",
        "CREATE TABLE refreshes (id {id}, network {int64} NOT NULL REFERENCES networks (id), "
        "at {int64} NOT NULL)",
        "CREATE INDEX refreshes_by_time ON refreshes (at)",
        "CREATE TABLE resources (id {id}, network {int64} NOT NULL REFERENCES networks (id), "
        "is_link INTEGER NOT NULL, name TEXT NOT NULL, destination TEXT NOT NULL, tg INTEGER NOT NULL, "
        "UNIQUE (network, is_link, name, destination, tg))",
        "CREATE TABLE changes (id {id}, refresh {int64} NOT NULL REFERENCES refreshes (id), "
        "resource {int64} NOT NULL REFERENCES resources (id), kind INTEGER NOT NULL, acknowledged_at {int64})",
        "CREATE INDEX changes_by_refresh ON changes (refresh)",
        "CREATE INDEX changes_by_resource ON changes (resource)",
    },
    {
        // What the history last said of each resource, whoever wrote it:
        // several programs recording one network write each change once.
        "ALTER TABLE resources ADD COLUMN last_kind INTEGER",
        "ALTER TABLE resources ADD COLUMN last_at {int64}",
        "UPDATE resources SET last_at = (SELECT MAX(r.at) FROM changes c JOIN refreshes r ON r.id = c.refresh "
        "WHERE c.resource = resources.id)",
        "UPDATE resources SET last_kind = (SELECT c.kind FROM changes c JOIN refreshes r ON r.id = c.refresh "
        "WHERE c.resource = resources.id ORDER BY r.at DESC, c.id DESC LIMIT 1)",
    },
};

QString NextConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("mapvine-history-%1").arg(counter++);
}

HistoryFault SqliteFault(int code) {
  switch (code & 0xff) {  // extended codes carry the primary one in the low byte
    case 11:              // SQLITE_CORRUPT
    case 26:              // SQLITE_NOTADB
      return HistoryFault::Damaged;
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
      return HistoryFault::Locked;
    case 13:  // SQLITE_FULL
      return HistoryFault::Full;
    case 14:  // SQLITE_CANTOPEN
      return HistoryFault::Unreachable;
    default:
      return HistoryFault::Other;
  }
}

HistoryFault PostgresFault(const QSqlError& error) {
  const QString state = error.nativeErrorCode();
  if (error.type() == QSqlError::ConnectionError || state.startsWith("08")) return HistoryFault::Unreachable;
  if (state == "53100") return HistoryFault::Full;
  if (state == "55P03" || state == "40P01") return HistoryFault::Locked;
  if (state.startsWith("XX")) return HistoryFault::Damaged;
  return HistoryFault::Other;
}

}  // namespace

HistoryDatabase::HistoryDatabase(const HistoryLocation& location)
    : location_(location), connectionName_(NextConnectionName()) {
  problem_.where = location_.Describe();
}

HistoryDatabase::~HistoryDatabase() {
  if (!db_.isValid()) return;
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connectionName_);
}

bool HistoryDatabase::Open() {
  if (IsPostgres()) {
    db_ = QSqlDatabase::addDatabase("QPSQL", connectionName_);
    const QUrl& url = location_.postgres;
    db_.setHostName(url.host());
    db_.setPort(url.port(5432));
    db_.setDatabaseName(url.path().mid(1));
    db_.setUserName(url.userName());
    db_.setPassword(url.password());
    db_.setConnectOptions("connect_timeout=5");
  } else {
    db_ = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
    QDir().mkpath(QFileInfo(location_.sqliteFile).absolutePath());
    db_.setDatabaseName(location_.sqliteFile);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
  }
  if (!db_.isValid()) {
    problem_ = {HistoryFault::Other, problem_.where,
                QStringLiteral("Qt's %1 database driver is not installed").arg(IsPostgres() ? "QPSQL" : "QSQLITE")};
    return false;
  }
  if (!db_.open()) {
    Fail(db_.lastError());
    return false;
  }
  return Configure() && Migrate();
}

bool HistoryDatabase::Configure() {
  if (IsPostgres()) return Run("SET client_min_messages TO WARNING");
  // Written ahead, a crash leaves the last whole refresh; NORMAL syncs at
  // checkpoints only, which keeps a program crash harmless and the writes quick.
  return SwitchToWriteAhead() && Run("PRAGMA synchronous = NORMAL") && Run("PRAGMA foreign_keys = ON");
}

// Switching a new file to write-ahead logging needs it to itself, and
// SQLite answers "locked" at once, without waiting the busy timeout, when
// another program opens the same new file at that moment. The mode stays
// with the file, so only the first opening of a new history waits here.
bool HistoryDatabase::SwitchToWriteAhead() {
  constexpr int kRetryMilliseconds = 20;
  for (int waited = 0;; waited += kRetryMilliseconds) {
    QSqlQuery query(db_);
    if (query.exec("PRAGMA journal_mode = WAL")) return true;
    const bool locked = query.lastError().nativeErrorCode() == QLatin1String("5");  // SQLITE_BUSY
    if (!locked || waited >= kBusyTimeoutMs) {
      Fail(query.lastError());
      return false;
    }
    QThread::msleep(kRetryMilliseconds);
  }
}

int HistoryDatabase::SchemaVersion() {
  QSqlQuery query(db_);
  if (!query.exec("SELECT version FROM schema_version") || !query.next()) return 0;
  return query.value(0).toInt();
}

bool HistoryDatabase::Migrate() {
  if (!BeginWrite()) return false;
  if (IsPostgres() && !Run(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kMigrationLock))) {
    Rollback();
    return false;
  }
  if (!Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) {
    Rollback();
    return false;
  }
  const int found = SchemaVersion();
  if (found > kSchemaVersion) {
    Rollback();
    problem_ = {HistoryFault::Other, problem_.where,
                QStringLiteral("it was written by a newer Mapvine, schema %1").arg(found)};
    return false;
  }
  for (int version = found + 1; version <= kSchemaVersion; ++version) {
    for (const char* statement : kMigrations[static_cast<std::size_t>(version - 1)]) {
      QString sql = QString::fromUtf8(statement);
      sql.replace("{id}", IsPostgres() ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY");
      sql.replace("{int64}", IsPostgres() ? "BIGINT" : "INTEGER");
      if (!Run(sql)) {
        Rollback();
        return false;
      }
    }
  }
  if (found != kSchemaVersion) {
    const bool recorded = found == 0 ? Run(QStringLiteral("INSERT INTO schema_version VALUES (%1)").arg(kSchemaVersion))
                                     : Run(QStringLiteral("UPDATE schema_version SET version = %1").arg(kSchemaVersion));
    if (!recorded) {
      Rollback();
      return false;
    }
  }
  return Commit();
}

bool HistoryDatabase::BeginWrite() { return Run(IsPostgres() ? "BEGIN" : "BEGIN IMMEDIATE"); }

bool HistoryDatabase::Commit() { return Run("COMMIT"); }

void HistoryDatabase::Rollback() {
  QSqlQuery query(db_);
  query.exec("ROLLBACK");
}

QSqlQuery HistoryDatabase::Prepare(const QString& sql) {
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (!query.prepare(sql)) Fail(query.lastError());
  return query;
}

bool HistoryDatabase::Run(QSqlQuery& query, std::initializer_list<QVariant> values) {
  int position = 0;
  for (const QVariant& value : values) query.bindValue(position++, value);
  if (query.exec()) return true;
  Fail(query.lastError());
  return false;
}

bool HistoryDatabase::Run(const QString& sql) {
  QSqlQuery query(db_);
  if (query.exec(sql)) return true;
  Fail(query.lastError());
  return false;
}

void HistoryDatabase::Fail(const QSqlError& error) {
  const HistoryFault fault = IsPostgres() ? PostgresFault(error) : SqliteFault(error.nativeErrorCode().toInt());
  QString detail = error.databaseText();
  if (detail.isEmpty()) detail = error.driverText();
  problem_ = {fault, location_.Describe(), detail};
}

}  // namespace mapvine
