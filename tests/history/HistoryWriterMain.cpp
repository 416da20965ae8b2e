// history_writer LOCATION REFRESHES ROWS TAG: writes REFRESHES refreshes of
// ROWS changes each (0: forever) into the history at LOCATION (an SQLite
// file or a postgresql:// address), the nodes
// named TAG.N1, TAG.N2, ..., and prints "written N" after each.
#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "history/HistoryStore.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 5) return 2;
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
  std::vector<mapvine::TopologyChange> changes;
  for (int i = 0; i < rows; ++i) changes.push_back({{}, false, std::string(argv[4]) + ".N" + std::to_string(i), {}, 0});
  for (long n = 1; refreshes == 0 || n <= refreshes; ++n) {
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
