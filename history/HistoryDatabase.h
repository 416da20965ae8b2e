#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <initializer_list>

#include "history/HistoryLocation.h"
#include "history/HistoryProblem.h"

namespace mapvine {

// One connection to a history, used on the thread that opened it (Qt's
// rule for database connections). Opening brings the schema up to date:
// each schema version is a migration, applied in order, once, under a lock,
// so that several programs opening one history at once agree. An SQLite
// history is written ahead (WAL) and waits a while for another writer's
// lock instead of failing at once.
class HistoryDatabase {
 public:
  // The schema this program writes; older histories are migrated to it.
  static constexpr int kSchemaVersion = 2;

  explicit HistoryDatabase(const HistoryLocation& location);
  ~HistoryDatabase();
  HistoryDatabase(const HistoryDatabase&) = delete;
  HistoryDatabase& operator=(const HistoryDatabase&) = delete;

  // Connects and migrates; false with Problem() set when the history cannot
  // be kept.
  bool Open();
  const HistoryProblem& Problem() const { return problem_; }
  const HistoryLocation& Location() const { return location_; }
  bool IsPostgres() const { return location_.IsShared(); }

  // A transaction that takes the write lock at once (an SQLite reader that
  // later writes could otherwise fail instead of waiting).
  bool BeginWrite();
  bool Commit();
  void Rollback();

  QSqlQuery Prepare(const QString& sql);
  // Runs a prepared query with these values bound in order; false with
  // Problem() set on failure.
  bool Run(QSqlQuery& query, std::initializer_list<QVariant> values = {});
  bool Run(const QString& sql);

  // Records what went wrong, classified for the message the person sees.
  void Fail(const QSqlError& error);

 private:
  bool Configure();
  bool SwitchToWriteAhead();
  bool Migrate();
  int SchemaVersion();

  HistoryLocation location_;
  QString connectionName_;
  QSqlDatabase db_;
  HistoryProblem problem_;
};

}  // namespace mapvine
