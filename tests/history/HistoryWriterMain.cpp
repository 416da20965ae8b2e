// history_writer LOCATION REFRESHES ROWS TAG [PAUSE_MS]: writes REFRESHES
// refreshes of ROWS changes each (0: forever) into the history at LOCATION
// (an SQLite file or a postgresql:// address), the nodes named TAG.N1,
// TAG.N2, ..., and prints "written N" after each; between two refreshes it
// waits PAUSE_MS milliseconds (none if not given), as a program does
// between its refreshes.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <string>
#include <vector>

#include "history/HistoryStore.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 5 && argc != 6) return 2;
  QString error;
  const auto location = mapvine::ParseHistoryLocation(argv[1], error);
  if (!location) return 2;
  mapvine::HistoryStore store(*location);
  if (!store.Open()) {
    std::fprintf(stderr, "%s\n", qPrintable(store.Problem().Message()));
    return 1;
  }
  const long refreshes = std::stol(argv[2]);
  const int rows = std::stoi(argv[3]);
  const unsigned long pauseMs = argc == 6 ? std::stoul(argv[5]) : 0;
  std::vector<mapvine::TopologyChange> changes;
  for (int i = 0; i < rows; ++i) changes.push_back({{}, false, std::string(argv[4]) + ".N" + std::to_string(i), {}, 0});
  for (long n = 1; refreshes == 0 || n <= refreshes; ++n) {
    if (n > 1) QThread::msleep(pauseMs);
    // Every resource turns each time: the history holds none of it yet.
    for (std::size_t i = 0; i < changes.size(); ++i) {
      changes[i].kind = (i + n) % 2 ? mapvine::ChangeMark::WentActive : mapvine::ChangeMark::WentInactive;
    }
    if (!store.WriteRefresh({"NETT", argv[4]}, n, changes)) {
      std::fprintf(stderr, "%s\n", qPrintable(store.Problem().Message()));
      return 1;
    }
    std::printf("written %ld\n", n);
    std::fflush(stdout);
  }
  return 0;
}
