// Real processes writing one SQLite history: killed in the middle of a
// write, and two at once.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

#include "history/HistoryStore.h"

namespace mapvine {
namespace {

constexpr int kRows = 500;

// Changes per refresh, by writer (the network's control point) and refresh.
std::map<std::pair<std::string, HistoryTime>, int> RowsPerRefresh(const QString& file) {
  std::map<std::pair<std::string, HistoryTime>, int> counts;
  HistoryStore store({file, {}});
  EXPECT_TRUE(store.Open()) << store.Problem().Message().toStdString();
  EXPECT_TRUE(store.Read({}, [&](const HistoryRow& row, const NetworkKey& network) {
    ++counts[{network.cpName, row.when}];
    return true;
  }));
  return counts;
}

void StartWriter(QProcess& writer, const QString& file, int refreshes, const char* tag, int pauseMs = 0) {
  writer.start(HISTORY_WRITER,
               {file, QString::number(refreshes), QString::number(kRows), tag, QString::number(pauseMs)});
  ASSERT_TRUE(writer.waitForStarted());
}

TEST(HistoryWriters, AProcessKilledInTheMiddleOfAWriteLeavesWholeRefreshes) {
  QTemporaryDir folder;
  const QString file = folder.filePath("history.sqlite");
  QProcess writer;
  StartWriter(writer, file, 0, "KILLED");
  // Let it get well into its writing, then kill it without warning.
  QByteArray said;
  while (!said.contains("written 20") && writer.waitForReadyRead(10000)) said += writer.readAllStandardOutput();
  writer.kill();
  writer.waitForFinished();
  const auto counts = RowsPerRefresh(file);
  ASSERT_GE(counts.size(), 20u);
  for (const auto& [refresh, rows] : counts) EXPECT_EQ(rows, kRows) << "refresh " << refresh.second;
}

// Each writer pauses between its refreshes, as a program does, for longer
// than SQLite sleeps between two looks at a held lock (100 ms at most), so
// the other waits one write at a time, however slow the machine. Written
// back to back instead, they found SQLite's lock unfair: the writer that
// commits takes it again at once, and the other waited for all its
// refreshes and gave up after the busy timeout where those took longer.
TEST(HistoryWriters, TwoProcessesWriteAtOnce) {
  QTemporaryDir folder;
  const QString file = folder.filePath("history.sqlite");
  constexpr int kRefreshes = 15;
  constexpr int kPauseMs = 200;
  QProcess first;
  QProcess second;
  StartWriter(first, file, kRefreshes, "FIRST", kPauseMs);
  StartWriter(second, file, kRefreshes, "SECOND", kPauseMs);
  for (QProcess* writer : {&first, &second}) {
    ASSERT_TRUE(writer->waitForFinished(120000));
    EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
  }
  const auto counts = RowsPerRefresh(file);
  EXPECT_EQ(counts.size(), 2u * kRefreshes);
  for (const auto& [refresh, rows] : counts) EXPECT_EQ(rows, kRows);
}

}  // namespace
}  // namespace mapvine
