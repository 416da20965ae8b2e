#pragma once

#include <string>
#include <vector>

namespace mapvine {

// What the command line asks for.
struct CommandLine {
  enum class Mode { Window, Query, History, Help, Version };
  Mode mode = Mode::Window;
  bool trace = false;       // start with tracing on (with --query: trace its pass)
  bool refresh = false;     // one refresh once the picture is up
  std::string file;         // a saved picture to open instead of a new one
  std::string renderPath;   // write the picture as PNG and exit, no window shown
  std::string savePath;     // save the picture and exit, no window shown
  bool changes = false;     // print what the refresh changed and exit, no window shown
  std::string exportPath;   // write the picture for other programs (format by extension) and exit
  bool exportAll = false;   // the export includes hidden nodes
  bool exportPages = false; // a PDF export spreads the picture at its size across A4 pages
  bool arrange = false;     // arrange the picture by its connections once it is up (and refreshed)
  std::string historyDb;    // the history's file or postgresql:// address; empty: the user's own
  // --history: which rows to print and how (times as written, checked by the command).
  std::string since;
  std::string until;
  std::string resource;
  std::string format = "text";

  // --render, --save, --export and --changes run the program without ever showing its window.
  bool Batch() const { return !renderPath.empty() || !savePath.empty() || !exportPath.empty() || changes; }
};

struct ParsedCommandLine {
  CommandLine line;
  std::string error;  // empty when the arguments made sense
};

// Parses the arguments after the program name. Qt's own options
// (-platform, -style, ...) are accepted and left to Qt's application object;
// "--" ends the options, so a file name may start with "-".
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The arguments Qt's application object may see: the program name and what
// comes before "--", so that a file named like a Qt option stays a file;
// a null pointer follows them, as in main's argv.
std::vector<char*> QtArguments(int argc, char** argv);

// --help, generated from the option table.
std::string UsageText();
// --version: "mapvine 0.1".
std::string VersionText();

}  // namespace mapvine
