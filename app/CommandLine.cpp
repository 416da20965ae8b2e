#include "app/CommandLine.h"

namespace mapvine {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

ParsedCommandLine Failure(std::string error) { return {CommandLine{}, std::move(error)}; }

}  // namespace

const char* const kUsageText =
    "Usage: mapvine [FILE.top] [--refresh [--changes]] [--trace] [--render FILE.png] [--save FILE.top]\n"
    "       mapvine --query [--trace]\n"
    "       mapvine --help\n"
    "Without options the topology window opens on a new picture, or on FILE.top.\n"
    "  --refresh          refresh the picture from the node once it is up (as F5 does)\n"
    "  --trace            start with the internal trace on (written to mapvine.trc)\n"
    "  --render FILE.png  after opening and refreshing, write the whole picture as a\n"
    "                     PNG image and exit without showing a window\n"
    "  --save FILE.top    likewise, save the picture as a saved topology; combines\n"
    "                     with --render\n"
    "  --changes          with --refresh, without a window: print what the refresh\n"
    "                     changed in the picture, one line each, sorted: new, gone,\n"
    "                     active or inactive, then the node's name, or a link's two\n"
    "                     ends and TG number; exit 0 when nothing changed, 1 when\n"
    "                     something did, 2 on trouble; combines with --save, --render\n"
    "  --query            without a window: print the topology and directory the node\n"
    "                     reports, refresh a picture from them and print what it holds;\n"
    "                     with --trace the pass is traced to mapvine.trc\n"
    "  --help             show this text\n"
    "The node library libsnactl.so is taken from $MAPVINE_SNACTL when set, else from\n"
    "the program's folder, else from the system library path.\n";

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool query = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") {
      if (args.size() != 1) return Failure("--help takes no other arguments");
      line.mode = CommandLine::Mode::Help;
      return {line, {}};
    }
    if (arg == "--query") {
      query = true;
    } else if (arg == "--trace") {
      line.trace = true;
    } else if (arg == "--refresh") {
      line.refresh = true;
    } else if (arg == "--changes") {
      line.changes = true;
    } else if (arg == "--render" || arg == "--save") {
      if (i + 1 == args.size() || args[i + 1].empty()) return Failure(arg + " needs a file name");
      std::string& target = arg == "--render" ? line.renderPath : line.savePath;
      if (!target.empty()) return Failure(arg + " given twice");
      target = args[++i];
      const char* extension = arg == "--render" ? ".png" : ".top";
      if (!EndsWith(target, extension)) return Failure(arg + " writes a " + extension + " file: " + target);
    } else if (arg.rfind("-", 0) == 0) {
      return Failure("unknown option '" + arg + "'");
    } else if (!line.file.empty()) {
      return Failure("only one file can be opened: '" + line.file + "' and '" + arg + "'");
    } else {
      line.file = arg;
    }
  }
  if (line.changes && !line.refresh) return Failure("--changes needs --refresh");
  if (query) {
    if (line.refresh || !line.file.empty() || line.Batch()) {
      return Failure("--query takes only --trace");
    }
    line.mode = CommandLine::Mode::Query;
  }
  return {line, {}};
}

}  // namespace mapvine
