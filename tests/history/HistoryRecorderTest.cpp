// The history's own thread as the program starts it: retention applied at
// start, and a disk that fills up.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>

#include <sys/mount.h>

#include "history/HistoryRecorder.h"

namespace mapvine {
namespace {

const NetworkKey kNeta{"NETA", "NN1"};
constexpr HistoryTime kDay = 24 * 3600 * 1000;

std::map<HistoryTime, int> RowsPerRefresh(const QString& file) {
  std::map<HistoryTime, int> rows;
  HistoryStore store({file, {}});
  EXPECT_TRUE(store.Open()) << store.Problem().Message().toStdString();
  EXPECT_TRUE(store.Read({}, [&](const HistoryRow& row, const NetworkKey&) {
    ++rows[row.when];
    return true;
  }));
  return rows;
}

TEST(HistoryRecorder, ForgetsWhatIsOlderThanTheDaysKeptAtStart) {
  QTemporaryDir folder;
  const QString file = folder.filePath("history.sqlite");
  const HistoryTime now = QDateTime::currentMSecsSinceEpoch();
  {
    HistoryStore store({file, {}});
    ASSERT_TRUE(store.Open());
    for (const HistoryTime age : {91 * kDay, 89 * kDay, kDay}) {
      ASSERT_TRUE(store.WriteRefresh(kNeta, now - age, {{age == kDay ? ChangeMark::WentInactive : ChangeMark::New,
                                                         false, "NETA.NN" + std::to_string(age / kDay), {}, 0}}));
    }
  }
  { HistoryRecorder keepAll({file, {}}, 0); }
  EXPECT_EQ(RowsPerRefresh(file).size(), 3u);
  { HistoryRecorder ninetyDays({file, {}}, 90); }
  EXPECT_EQ(RowsPerRefresh(file), (std::map<HistoryTime, int>{{now - 89 * kDay, 1}, {now - kDay, 1}}));
}

// On a small file system of its own: the recorder says once that the disk
// is full, asks nothing more of the database, and what it wrote before
// holds whole refreshes.
TEST(HistoryRecorder, AFullDiskIsSaidOnceAndLeavesWholeRefreshes) {
  QTemporaryDir disk;
  if (::mount("mapvine-test", QFile::encodeName(disk.path()).constData(), "tmpfs", 0, "size=192k") != 0) {
    GTEST_SKIP() << "a small file system cannot be mounted here (" << std::strerror(errno) << "): needs root";
  }
  const QString file = disk.filePath("history.sqlite");
  QStringList said;
  {
    HistoryRecorder recorder({file, {}}, 0);
    QObject::connect(&recorder, &HistoryRecorder::Failed, [&](const QString& message) { said << message; });
    for (int n = 1; n <= 1000 && !recorder.Failing(); ++n) {
      auto changes = std::make_shared<std::vector<TopologyChange>>();
      for (int i = 0; i < 200; ++i) {
        changes->push_back({n % 2 ? ChangeMark::WentInactive : ChangeMark::WentActive, false,
                            "NETA.RESOURCE" + std::to_string(i), {}, 0});
      }
      recorder.Record(kNeta, n, std::move(changes));
      recorder.Flush();
    }
    recorder.Record(kNeta, 5000, std::make_shared<std::vector<TopologyChange>>());
    recorder.Flush();
    QCoreApplication::processEvents();
  }
  // Read where there is room again.
  QTemporaryDir copy;
  for (const char* suffix : {"", "-wal"}) QFile::copy(file + suffix, copy.filePath("history.sqlite") + suffix);
  ::umount(QFile::encodeName(disk.path()).constData());
  ASSERT_EQ(said.size(), 1);
  EXPECT_TRUE(said[0].contains("the disk is full")) << said[0].toStdString();
  const auto rows = RowsPerRefresh(copy.filePath("history.sqlite"));
  EXPECT_GT(rows.size(), 1u);
  for (const auto& [when, count] : rows) EXPECT_EQ(count, 200) << when;
}

}  // namespace
}  // namespace mapvine
