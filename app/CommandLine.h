#pragma once

#include <string>
#include <vector>

namespace mapvine {

// What the command line asks for.
struct CommandLine {
  enum class Mode { Window, Query, Help };
  Mode mode = Mode::Window;
  bool trace = false;       // start with tracing on (with --query: trace its pass)
  bool refresh = false;     // one refresh once the picture is up
  std::string file;         // a saved picture to open instead of a new one
  std::string renderPath;   // write the picture as PNG and exit, no window shown
  std::string savePath;     // save the picture and exit, no window shown
  bool changes = false;     // print what the refresh changed and exit, no window shown

  // --render, --save and --changes run the program without ever showing its window.
  bool Batch() const { return !renderPath.empty() || !savePath.empty() || changes; }
};

struct ParsedCommandLine {
  CommandLine line;
  std::string error;  // empty when the arguments made sense
};

// Parses the arguments after the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsageText;

}  // namespace mapvine
