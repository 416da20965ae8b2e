// The mapvine executable: picks the command from the arguments.
#include <iostream>
#include <string_view>

#include "app/QueryCommand.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: mapvine [--query [--trace] | --help]\n"
    "  --query  load the SNA node library, print the topology and directory it reports,\n"
    "           then refresh a picture from it and print what the picture holds\n"
    "  --trace  with --query: trace the refresh pass to mapvine.trc\n"
    "  --help   show this text\n"
    "The node library libsnactl.so is taken from $MAPVINE_SNACTL when set, else from\n"
    "the program's folder, else from the system library path.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (argc == 2 && command == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "--query" && (argc == 2 || (argc == 3 && std::string_view(argv[2]) == "--trace"))) {
    return mapvine::RunQueryCommand(argc == 3, std::cout, std::cerr);
  }
  if (argc > 2) {
    std::cerr << "mapvine: too many arguments\n" << kUsage;
  } else if (argc == 2) {
    std::cerr << "mapvine: unknown option '" << command << "'\n" << kUsage;
  } else {
    std::cerr << "mapvine: no command given; the picture window is not part of this build yet\n" << kUsage;
  }
  return 2;
}
