// The history on real SQLite files in a temporary folder.
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "history/HistoryStore.h"

namespace mapvine {
namespace {

const NetworkKey kNeta{"NETA", "NN1"};
const NetworkKey kNetb{"NETB", "CP"};

TopologyChange Node(ChangeMark kind, const char* name) { return {kind, false, name, {}, 0}; }
TopologyChange Link(ChangeMark kind, const char* a, const char* b, int tg) { return {kind, true, a, b, tg}; }

struct TempHistory {
  QTemporaryDir folder;
  QString file = folder.filePath("history.sqlite");
  HistoryLocation Location() const { return {file, {}}; }
};

std::vector<std::string> Lines(HistoryStore& store, const HistoryFilter& filter = {}) {
  std::vector<std::string> lines;
  EXPECT_TRUE(store.Read(filter, [&](const HistoryRow& row, const NetworkKey& network) {
    lines.push_back(std::to_string(row.when) + " " + network.networkId + " " + ChangeLine(row.change) +
                    (row.acknowledged ? " ack" : ""));
    return true;
  }));
  return lines;
}

TEST(HistoryStore, KeepsWholeRefreshesInOrderAndFiltersThem) {
  TempHistory temp;
  {
    HistoryStore store(temp.Location());
    ASSERT_TRUE(store.Open()) << store.Problem().Message().toStdString();
    ASSERT_TRUE(store.WriteRefresh(kNeta, 1000, {Node(ChangeMark::New, "NETA.EN9"),
                                                 Link(ChangeMark::WentInactive, "NETA.NN1", "NETA.NN5", 24)}));
    ASSERT_TRUE(store.WriteRefresh(kNetb, 1500, {Node(ChangeMark::Gone, "NETB.NN1")}));
    ASSERT_TRUE(store.WriteRefresh(kNeta, 2000, {}));
    ASSERT_TRUE(store.WriteRefresh(kNeta, 3000, {Link(ChangeMark::WentActive, "NETA.NN1", "NETA.NN5", 24)}));
  }
  HistoryStore reopened(temp.Location());
  ASSERT_TRUE(reopened.Open());
  struct Case {
    HistoryFilter filter;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{}, {"1000 NETA new NETA.EN9", "1000 NETA inactive NETA.NN1 NETA.NN5 24", "1500 NETB gone NETB.NN1",
            "3000 NETA active NETA.NN1 NETA.NN5 24"}},
      {{kNetb, {}, {}, {}}, {"1500 NETB gone NETB.NN1"}},
      {{{}, 1500, 3000, {}}, {"1500 NETB gone NETB.NN1"}},
      {{{}, 3001, {}, {}}, {}},
      {{kNeta, {}, {}, "neta.nn5"}, {"1000 NETA inactive NETA.NN1 NETA.NN5 24", "3000 NETA active NETA.NN1 NETA.NN5 24"}},
      {{{}, {}, {}, "NETA.EN9"}, {"1000 NETA new NETA.EN9"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(reopened, c.filter), c.lines);
}

TEST(HistoryStore, ForgetsOldRefreshesAndStoresAcknowledgements) {
  TempHistory temp;
  HistoryStore store(temp.Location());
  ASSERT_TRUE(store.Open());
  for (HistoryTime when : {1000, 2000, 3000}) {
    const bool odd = when != 2000;
    ASSERT_TRUE(store.WriteRefresh(kNeta, when, {Node(odd ? ChangeMark::WentInactive : ChangeMark::WentActive, "NETA.NN2"),
                                                 Node(odd ? ChangeMark::WentActive : ChangeMark::WentInactive, "NETA.NN3")}));
  }
  ASSERT_TRUE(store.ForgetBefore(2000));
  const std::vector<std::string> keys{"NETA.NN3"};
  ASSERT_TRUE(store.Acknowledge(kNeta, 2500, &keys));
  EXPECT_EQ(Lines(store), (std::vector<std::string>{"2000 NETA active NETA.NN2", "2000 NETA inactive NETA.NN3 ack",
                                                    "3000 NETA inactive NETA.NN2", "3000 NETA active NETA.NN3"}));
  ASSERT_TRUE(store.Acknowledge(kNeta, 3000));
  HistoryStore reopened(temp.Location());
  ASSERT_TRUE(reopened.Open());
  EXPECT_EQ(Lines(reopened).back(), "3000 NETA active NETA.NN3 ack");
  EXPECT_TRUE(reopened.Acknowledge(kNetb, 3000));  // a network never written: nothing to do
}

// Two programs recording one network: each change goes in once, as the
// program that wrote it first saw it.
TEST(HistoryStore, ProgramsRecordingOneNetworkWriteEachChangeOnce) {
  TempHistory temp;
  HistoryStore a(temp.Location());
  HistoryStore b(temp.Location());
  ASSERT_TRUE(a.Open() && b.Open());
  struct Write {
    HistoryStore* store;
    HistoryTime when;
    ChangeMark kind;
    const char* node;
  };
  const Write writes[] = {
      // Both see the same changes, a little apart.
      {&a, 1000, ChangeMark::WentInactive, "NETA.NN1"}, {&b, 1300, ChangeMark::WentInactive, "NETA.NN1"},
      {&a, 2000, ChangeMark::WentActive, "NETA.NN1"}, {&b, 2300, ChangeMark::WentActive, "NETA.NN1"},
      // A writer behind the other: what it saw earlier comes too late.
      {&b, 1300, ChangeMark::WentInactive, "NETA.NN2"}, {&a, 1000, ChangeMark::WentInactive, "NETA.NN2"},
      {&a, 1000, ChangeMark::WentInactive, "NETA.NN3"}, {&a, 2000, ChangeMark::WentActive, "NETA.NN3"},
      {&b, 1300, ChangeMark::WentInactive, "NETA.NN3"},
      // At the same moment.
      {&a, 1000, ChangeMark::Gone, "NETA.NN4"}, {&b, 1000, ChangeMark::Gone, "NETA.NN4"},
  };
  for (const Write& write : writes) ASSERT_TRUE(write.store->WriteRefresh(kNeta, write.when, {Node(write.kind, write.node)}));
  EXPECT_EQ(Lines(b), (std::vector<std::string>{"1000 NETA inactive NETA.NN1", "2000 NETA active NETA.NN1",
                                                "1300 NETA inactive NETA.NN2", "1000 NETA inactive NETA.NN3",
                                                "2000 NETA active NETA.NN3", "1000 NETA gone NETA.NN4"}));
}

void ExpectProblem(HistoryStore& store, HistoryFault fault, const char* words) {
  EXPECT_EQ(store.Problem().fault, fault);
  const std::string message = store.Problem().Message().toStdString();
  EXPECT_NE(message.find(words), std::string::npos) << message;
  EXPECT_NE(message.find("Mapvine goes on without history."), std::string::npos) << message;
}

TEST(HistoryStore, DamagedOrNewerFilesAreRefusedWithOneClearMessage) {
  TempHistory temp;
  {
    QFile file(temp.file);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
  }
  HistoryStore garbage(temp.Location());
  EXPECT_FALSE(garbage.Open());
  ExpectProblem(garbage, HistoryFault::Damaged, "is damaged");

  TempHistory newer;
  {
    HistoryStore store(newer.Location());
    ASSERT_TRUE(store.Open());
  }
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
    db.setDatabaseName(newer.file);
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec("UPDATE schema_version SET version = 99");
  }
  QSqlDatabase::removeDatabase("newer");
  HistoryStore store(newer.Location());
  EXPECT_FALSE(store.Open());
  ExpectProblem(store, HistoryFault::Other, "newer Mapvine");
}

TEST(HistoryStore, AWriterWaitsForALockThenSaysItIsLocked) {
  TempHistory temp;
  HistoryStore store(temp.Location());
  ASSERT_TRUE(store.Open());
  {
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
    other.setDatabaseName(temp.file);
    ASSERT_TRUE(other.open());
    QSqlQuery hold(other);
    ASSERT_TRUE(hold.exec("BEGIN EXCLUSIVE"));
    EXPECT_FALSE(store.WriteRefresh(kNeta, 1000, {Node(ChangeMark::New, "NETA.EN1")}));
    ExpectProblem(store, HistoryFault::Locked, "locked");
    hold.exec("ROLLBACK");
  }
  QSqlDatabase::removeDatabase("other");
  // Once the other program lets go, writing works again.
  EXPECT_TRUE(store.WriteRefresh(kNeta, 2000, {Node(ChangeMark::New, "NETA.EN1")}));
  EXPECT_EQ(Lines(store), std::vector<std::string>{"2000 NETA new NETA.EN1"});
}

}  // namespace
}  // namespace mapvine
